#pragma once
// The SDL audio output: 16-bit stereo at a fixed rate, filled from SDL's
// audio thread. SDL 1.2 has one audio device, so there is at most one of these.
#include <cstdint>
#include <memory>
#include <string>

class TSoundDevice {
 public:
  // Called on the audio thread with the device locked.
  using TFill = void (*)(void* User, int16_t* Stereo, size_t Frames);

  // Null, with SDL's reason in Error, when no device can be opened.
  static std::unique_ptr<TSoundDevice> Open(int Rate, TFill Fill, void* User, std::string& Error);
  ~TSoundDevice();
  TSoundDevice(const TSoundDevice&) = delete;
  TSoundDevice& operator=(const TSoundDevice&) = delete;

  // Keeps the audio thread out while shared state changes.
  void Lock();
  void Unlock();
  const std::string& DriverName() const { return FDriver; }

 private:
  TSoundDevice() = default;
  static void Callback(void* User, uint8_t* Stream, int Length);
  TFill FFill = nullptr;
  void* FUser = nullptr;
  std::string FDriver;
};
