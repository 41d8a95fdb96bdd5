#include "audio/sound_input.h"

#include <cstring>

#include "shell/file_stream.h"

std::unique_ptr<TSoundInput> TSoundInput::Open(const TSoundLocation& Location) {
  if (Location.Offset < 0 || Location.Length < 0) return nullptr;
  std::unique_ptr<TSoundInput> Input(new TSoundInput);
  if (Location.FromMemory) {
    if (!Location.Memory || Location.Length <= 0) return nullptr;
    Input->FMemory = static_cast<const uint8_t*>(Location.Memory) + Location.Offset;
    Input->FLength = Location.Length;
    return Input;
  }
  if (Location.Path.empty()) return nullptr;
  auto File = TFileStream::Open(Location.Path, TFileStream::TMode::Read);
  if (!File) return nullptr;
  const int64_t FileSize = File->Size();
  if (Location.Offset > FileSize) return nullptr;
  const int64_t Available = FileSize - Location.Offset;
  // A length reaching past the end of the file is cut to what is there.
  Input->FLength = Location.Length == 0 || Location.Length > Available ? Available : Location.Length;
  Input->FOffset = Location.Offset;
  Input->FFile = std::move(File);
  return Input;
}

size_t TSoundInput::Read(void* Buffer, size_t Count) {
  if (FPosition >= FLength || Count == 0) return 0;
  const int64_t Left = FLength - FPosition;
  const size_t N = static_cast<size_t>(std::min<int64_t>(Left, static_cast<int64_t>(Count)));
  size_t Got = N;
  if (FMemory) {
    std::memcpy(Buffer, FMemory + FPosition, N);
  } else {
    if (!FFile->Seek(FOffset + FPosition)) return 0;
    Got = FFile->Read(Buffer, N);
  }
  FPosition += static_cast<int64_t>(Got);
  return Got;
}

bool TSoundInput::Seek(int64_t Position) {
  if (Position < 0) return false;
  FPosition = Position;
  return true;
}
