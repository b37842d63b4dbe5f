#include "report/ppDevice.h"

#include <vector>

bool TppDevice::RenderCommand(TppDrawCommand*) { return false; }

bool TppDevice::RedrawCommand(TppDrawCommand*) { return false; }

namespace {
std::vector<TppDeviceClass>& DeviceClasses() {
  static std::vector<TppDeviceClass> classes;
  return classes;
}
}  // namespace

void RegisterDeviceClass(const TppDeviceClass& deviceClass) {
  auto& classes = DeviceClasses();
  auto create = deviceClass.Create;
  RegisterClass(deviceClass.ClassName, [create](TComponent* owner) -> TComponent* { return create(owner); });
  for (TppDeviceClass& c : classes)
    if (c.ClassName == deviceClass.ClassName) {
      c = deviceClass;
      return;
    }
  classes.push_back(deviceClass);
}

void UnregisterDeviceClass(const QString& className) {
  auto& classes = DeviceClasses();
  for (auto it = classes.begin(); it != classes.end(); ++it)
    if (it->ClassName == className) {
      classes.erase(it);
      UnRegisterClass(className);
      return;
    }
}

const TppDeviceClass* DeviceClassForName(const QString& deviceName) {
  for (const TppDeviceClass& c : DeviceClasses())
    if (c.DeviceName == deviceName) return &c;
  return nullptr;
}

QStringList DeviceNames() {
  QStringList names;
  for (const TppDeviceClass& c : DeviceClasses()) names.append(c.DeviceName);
  return names;
}
