// SPDX-License-Identifier: GPL-3.0-or-later
// The program's help: HTML topics shown in a small viewer window, opened
// at the contents or at a topic chosen by its help context number.
#pragma once

#include <QString>

// The application's help file ("lurns.hlp"); it names the help document
// shipped with the program.
void SetApplicationHelpFile(const QString& name);
QString ApplicationHelpFile();

// The folder or resource path the help document is read from.
QString HelpRoot();
// The topic page for a help context number, or an empty string.
QString HelpTopicForContext(int context);

// Opens the viewer at the contents page; false when no help is available.
bool HelpContents();
// Opens the viewer at the topic of a context number (the contents when
// the number has no topic of its own).
bool HelpContext(int context);
// The viewer window, when it has been opened (tests look at it).
class QTextBrowser;
QTextBrowser* HelpViewerBrowser();
