#pragma once
// Every player's best run of every map: the keys of its steps, as sqtool play
// reads them ('U', 'D', 'L', 'R' for the arrow held, '.' for none). Runs are
// filed under the player's identifier in the registry (so renaming keeps
// them), the level pack's name as the registry knows it (letter case aside)
// and the map number. The store lives in one file, replaced safely after
// every change; a damaged file is kept aside as FileName + ".bad" (".bad.1"
// ... when taken) and the store starts empty, and a file that cannot be read is never replaced.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "registry/store_file.h"

struct TRun {
  int32_t Player = 0;  // the player's identifier in the registry
  std::string Pack;    // the level pack's name
  int32_t MapNo = 0;
  std::string Keys;     // one per step
  bool Hinted = false;  // a hint was shown on the way
  int32_t Steps() const { return static_cast<int32_t>(Keys.size()); }
};

enum class TRunKept {
  Kept,        // the new best run (saved, unless LastSaveSucceeded says otherwise)
  NotShorter,  // the kept run has as many steps or fewer (or no hint where this one had)
  BadRun,      // no steps, too many, a key outside the alphabet, or a bad map number
};

class TRunStore {
 public:
  static constexpr const char* kFileName = "Starquarry.runs";
  // Longer runs are refused: an hour of play is about 31,000 steps.
  static constexpr int32_t kMaxSteps = 1 << 22;

  // Reads FileName; a missing file gives an empty store.
  explicit TRunStore(std::string FileName = kFileName);

  // Keeps Keys as Player's run of the map when it is shorter than the run
  // kept, or no run was kept; the file is saved then. A run without a hint
  // replaces one with, whatever the steps; one with a hint never replaces
  // one without (NotShorter).
  TRunKept Keep(int32_t Player, const std::string& Pack, int32_t MapNo, const std::string& Keys, bool Hinted = false);
  // The run kept for the map; null when none.
  const TRun* Best(int32_t Player, const std::string& Pack, int32_t MapNo) const;
  // Drops every run of the player and saves when there was any; the number dropped.
  int DeletePlayer(int32_t Player);
  // The highest player identifier any run is filed under; -1 when none.
  int32_t HighestPlayer() const;

  // In the order they were first kept (a deletion keeps the others' order).
  const std::vector<TRun>& Runs() const { return FRuns; }
  const std::string& FileName() const { return FFileName; }
  // The file was damaged or could not be read; the store started empty.
  bool LoadedDamaged() const { return FFile.Damaged(); }
  bool LastSaveSucceeded() const { return FLastSaveOk; }
  // The copy of a damaged file a save made; empty when none.
  const std::string& KeptAs() const { return FFile.KeptAs(); }

  // The file's layout, for the store and its tests.
  static std::vector<uint8_t> Encode(const std::vector<TRun>& Runs);
  // False (Runs left empty) when the bytes are not a whole, sound runs file.
  static bool Decode(const std::vector<uint8_t>& Bytes, std::vector<TRun>& Runs);
  // Steps from 1 to kMaxSteps, each one of the five keys.
  static bool ValidKeys(const std::string& Keys);

 private:
  // A run's place: pack names compare without regard to letter case, so the
  // key holds the name upper-cased.
  struct TKey {
    int32_t Player;
    std::string Pack;
    int32_t MapNo;
    bool operator==(const TKey&) const = default;
  };
  struct TKeyHash {
    size_t operator()(const TKey& K) const;
  };
  using TIndex = std::unordered_map<TKey, size_t, TKeyHash>;
  static TKey KeyOf(int32_t Player, const std::string& Pack, int32_t MapNo);

  // Decode, with the index of the runs read; both empty when false.
  static bool DecodeIndexed(const std::vector<uint8_t>& Bytes, std::vector<TRun>& Runs, TIndex& Index);
  void Load();
  bool Save();
  void Reindex();

  std::string FFileName;
  std::vector<TRun> FRuns;
  TIndex FIndex;  // key -> position in FRuns
  TStoreFile FFile{"RunStoreUnit, TRunStore.Save"};
  bool FLastSaveOk = true;
};
