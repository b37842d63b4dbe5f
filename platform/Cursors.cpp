// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Cursors.h"

#include <map>

namespace {
std::map<TCursor, QCursor>& Registry() {
  static std::map<TCursor, QCursor> r;
  return r;
}

Qt::CursorShape StandardShape(TCursor id) {
  switch (id) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass: return Qt::WaitCursor;
    case crDrag: return Qt::DragMoveCursor;
    case crNoDrop: return Qt::ForbiddenCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crMultiDrag: return Qt::DragCopyCursor;
    case crSQLWait: return Qt::WaitCursor;
    case crNo: return Qt::ForbiddenCursor;
    case crAppStart: return Qt::BusyCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    case crDefault:
    case crArrow:
    default: return Qt::ArrowCursor;
  }
}
}  // namespace

void RegisterCursor(TCursor id, const QCursor& cursor) { Registry()[id] = cursor; }

bool IsCursorRegistered(TCursor id) { return Registry().count(id) != 0; }

QCursor CursorFor(TCursor id) {
  const auto& r = Registry();
  if (auto it = r.find(id); it != r.end()) return it->second;
  return QCursor(StandardShape(id));
}
