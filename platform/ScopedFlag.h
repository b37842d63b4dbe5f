// SPDX-License-Identifier: GPL-3.0-or-later
// A flag set for the life of a scope and given back its old value when
// the scope ends, however it ends (a "busy" or "printing" flag that an
// exception must not leave set).
#pragma once

class TScopedFlag {
 public:
  explicit TScopedFlag(bool& flag, bool value = true) : flag_(flag), old_(flag) { flag_ = value; }
  ~TScopedFlag() { flag_ = old_; }
  TScopedFlag(const TScopedFlag&) = delete;
  TScopedFlag& operator=(const TScopedFlag&) = delete;

 private:
  bool& flag_;
  bool old_;
};
