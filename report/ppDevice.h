// Output devices: what receives the pages a report generates and draws
// their commands (the printer and PDF output, the preview's screen).  A
// device class is registered under its device name ("Printer", "Screen");
// a report's DeviceType names one of them.
#pragma once

#include "report/ppComm.h"

#include <QStringList>

class TppDrawCommand;

class TppDevice : public TppCommunicator {
 public:
  LURNS_COMPONENT(TppDevice)
  explicit TppDevice(TComponent* owner = nullptr) : TppCommunicator(owner) {}

  // Draws one command of a page (a command's DrawOn comes here); false when
  // the device does not draw that kind of command.  The base draws nothing.
  virtual bool RenderCommand(TppDrawCommand* command);
  // Draws a command again when values it shows arrived late; the base
  // draws nothing.
  virtual bool RedrawCommand(TppDrawCommand* command);
};

// A registered device class: the name reports know it by, its class name
// and how to make one.
struct TppDeviceClass {
  QString DeviceName;
  QString ClassName;
  std::function<TppDevice*(TComponent* owner)> Create;
};

// Registers a device class (once: registering its class again replaces the
// entry) and makes its class creatable by name.  The device units register
// their classes when the program starts.
void RegisterDeviceClass(const TppDeviceClass& deviceClass);
// A class answers its device name through a static DeviceName(); without
// one its class name is the device name.
template <class T>
void RegisterDeviceClass() {
  TppDeviceClass c;
  if constexpr (requires { T::DeviceName(); })
    c.DeviceName = T::DeviceName();
  else
    c.DeviceName = T::StaticClassName();
  c.ClassName = T::StaticClassName();
  c.Create = [](TComponent* owner) -> TppDevice* { return new T(owner); };
  RegisterDeviceClass(c);
}
void UnregisterDeviceClass(const QString& className);
template <class T>
void UnregisterDeviceClass() {
  UnregisterDeviceClass(T::StaticClassName());
}
// The class registered under exactly this device name, or null.
const TppDeviceClass* DeviceClassForName(const QString& deviceName);
// The device names of the registered classes, in registration order.
QStringList DeviceNames();
