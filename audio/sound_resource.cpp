#include "audio/sound_resource.h"

#include <limits>

#include "storage/stream_opener.h"

bool SoundIsCompressed(const std::string& Name, TSoundResource& Resource) {
  TVXFileInfo Info;
  if (StreamOpener) StreamOpener->GetFileInfo(Name, Info);
  Resource.Where = TSoundLocation{};
  Resource.Where.Path = Info.Path;
  Resource.Where.Offset = Info.Offset;
  Resource.Where.Length = Info.Size;
  Resource.BufferSize = -1;
  return Info.Compressed;
}

bool CopyIntoMemory(const std::string& Name, TSoundResource& Resource) {
  Resource.Buffer.clear();
  Resource.BufferSize = 0;
  Resource.Where = TSoundLocation{};
  Resource.Where.FromMemory = true;
  if (!StreamOpener) return false;
  try {
    TVXStreamPtr Stream = StreamOpener->OpenStream(Name);
    // Sizes beyond what the 32-bit size field can say are not sounds.
    if (Stream->Size() > std::numeric_limits<int32_t>::max()) return false;
    Resource.Buffer = Stream->ReadAll();
  } catch (const EOpenStream&) { return false; }
  Resource.BufferSize = static_cast<int32_t>(Resource.Buffer.size());
  Resource.Where.Memory = Resource.Buffer.data();
  Resource.Where.Length = Resource.BufferSize;
  return true;
}
