// SPDX-License-Identifier: GPL-3.0-or-later
// The base classes of the report engine's windows, on Qt Widgets: TppForm
// and the three abstract kinds the engine opens — TppCustomPreviewer,
// TppCustomPrintDialog and TppCustomCancelDialog.  The concrete windows
// (the program's preview window, print dialog and cancel dialog) derive
// from these and register themselves in the form registry
// (report/ppFormIntf) under their abstract kind; the engine's core only
// ever sees the interfaces.
//
// This unit builds as its own library, lurns_reportforms: a program that
// needs no engine windows does not link it.
#pragma once

#include "report/ppFormIntf.h"

#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <type_traits>

class TppForm : public QDialog, public virtual TppFormIntf {
  Q_OBJECT
 public:
  explicit TppForm(QWidget* parent = nullptr);

  TModalResult ShowModal() override;
  void Show() override;
  void Close() override;
  void SetWindowState(TWindowState state) override;
  void SetIcon(const TPicture& icon) override;

 protected:
  // Each showing fires ActivateHook once, when the event loop next runs
  // with the window on screen: later activations (after a message box, or
  // switching windows) do not start the engine's work again.
  void showEvent(QShowEvent* event) override;
  // Runs ActivateHook for that showing; a window may keep it from running
  // (while work of its own is under way) or follow what it started.
  virtual void RunActivateHook();

 private:
  int showing_ = 0;
};

class TppCustomPreviewer : public TppForm, public TppPreviewerIntf {
  Q_OBJECT
 public:
  explicit TppCustomPreviewer(QWidget* parent = nullptr) : TppForm(parent) {}
  // The control that shows the pages; none in the base class.
  virtual QWidget* Viewer() const { return nullptr; }
};

class TppCustomPrintDialog : public TppForm, public TppPrintDialogIntf {
  Q_OBJECT
 public:
  explicit TppCustomPrintDialog(QWidget* parent = nullptr) : TppForm(parent) {}
};

class TppCustomCancelDialog : public TppForm, public TppCancelDialogIntf {
  Q_OBJECT
 public:
  explicit TppCustomCancelDialog(QWidget* parent = nullptr);
  // Enables the window it disabled.
  ~TppCustomCancelDialog() override;

  void StartCloseTimer() override;
  // The window a modeless showing disabled (null otherwise).
  QWidget* DisabledWindow() const { return disabled_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void EnableDisabledWindow();

  QTimer closeTimer_;
  QPointer<QWidget> disabled_;
};

// Registers a concrete window class for the abstract kind it derives from,
// for example RegisterEngineForm<TppCustomPreviewer, TppPrintPreview>().
template <class Abstract, class Concrete>
void RegisterEngineForm() {
  static_assert(std::is_base_of_v<Abstract, Concrete>);
  RegisterEngineForm(QString::fromLatin1(Abstract::staticMetaObject.className()),
                     QString::fromLatin1(Concrete::staticMetaObject.className()),
                     []() -> TppFormIntf* { return new Concrete; });
}
template <class Abstract>
void UnregisterEngineForm() {
  UnregisterEngineForm(QString::fromLatin1(Abstract::staticMetaObject.className()));
}
template <class Abstract>
const TppFormClass* EngineFormClass() {
  return EngineFormClass(QString::fromLatin1(Abstract::staticMetaObject.className()));
}
