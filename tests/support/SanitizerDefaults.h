// SPDX-License-Identifier: GPL-3.0-or-later
// Sanitizer options of the test programs (see SanitizerDefaults.cpp).
#pragma once

// In a sanitizer build, puts the test programs' sanitizer options into the
// environment (where not set already) for the programs a test starts.
void PassSanitizerOptionsToChildren();
