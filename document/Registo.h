// The per-user settings store of the program (the stand-in for the
// registry key "Lurns"): an INI file in the user's configuration folder,
// ~/.config/Lurns/Lurns.ini, section "Parametros", every value decimal
// text.  The editor reads and writes the whole settings record
// (editor/uDefParametros); lurns-batch only reads the disc's margins.
#pragma once

#include <QSettings>
#include <memory>

// The settings store, positioned at the "Parametros" section.
std::unique_ptr<QSettings> AbrirRegisto();
// A value as an integer: a missing value, or one that is not an integer,
// gives `omissao`.
qint64 LerInteiroRegisto(QSettings& registo, const char* nome, qint64 omissao);
