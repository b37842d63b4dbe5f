// SPDX-License-Identifier: GPL-3.0-or-later
// The one font set-up of the program, lurns-batch, the tests and the
// benchmarks, so that a cover measures the same in all of them.
//
// The covers and the windows name Windows faces.  Where a Windows
// compatibility package installs Tahoma (outside the font index), it is
// loaded, and it also stands in for the bitmap-only "MS Sans Serif" (the
// default font of a text object), which Qt could not measure; otherwise
// fontconfig picks its own substitutes.  Needs a QGuiApplication; running
// it again does nothing.
#pragma once

void PrepararTiposDeLetra();
