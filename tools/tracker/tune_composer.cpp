#include "tools/tracker/tune_composer.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "tools/tracker/chord.h"
#include "tools/tracker/instrument_sampler.h"

namespace {

enum TChannel { kLead = 0, kCounter = 1, kArp = 2, kPad = 3, kBass = 6, kFirstDrum = 7 };
constexpr uint8_t kKeyOff = 97;

int ToXmNote(int Midi) {
  const int N = Midi - 11;  // MIDI 60 (middle C) is C-4, XM note 49
  if (N < 1 || N > 96) throw ESynthSyntax("note " + std::to_string(Midi) + " outside the XM range");
  return N;
}

uint8_t VolumeByte(int Volume) { return static_cast<uint8_t>(0x10 + std::clamp(Volume, 0, 64)); }

// Octave marks after a token: "'" up, "," down.
int OctaveMarks(std::string& Token) {
  int Shift = 0;
  while (!Token.empty() && (Token.back() == '\'' || Token.back() == ',')) {
    Shift += Token.back() == '\'' ? 12 : -12;
    Token.pop_back();
  }
  return Shift;
}

class TSectionWriter {
 public:
  TSectionWriter(const TTune& Tune, const TTuneSection& Section, const std::vector<int>& DrumChannels, int Channels)
      : FTune(Tune), FSection(Section), FDrumChannels(DrumChannels), FChannels(Channels) {
    FRows = Section.Bars * Tune.RowsPerBar;
    if (FRows > 256) throw ESynthSyntax("section '" + Section.Name + "' is longer than 256 rows");
    FPattern.Rows = FRows;
    FPattern.Cells.resize(static_cast<size_t>(FRows) * Channels);
    if (!Section.Chords.empty()) {
      auto It = Tune.Chords.find(Section.Chords);
      if (It == Tune.Chords.end() || It->second.empty())
        throw ESynthSyntax("section '" + Section.Name + "' names unknown chords '" + Section.Chords + "'");
      FProgression = &It->second;
    }
  }

  TXmPattern Write() {
    static const char* kRoles[] = {"lead", "counter", "arp", "pad", "bass", "drums"};
    for (const char* Role : kRoles) {
      auto It = FSection.Parts.find(Role);
      if (It == FSection.Parts.end()) {
        Silence(Role);
        continue;
      }
      const TTunePart* P = FTune.FindPart(It->second);
      if (!P) throw ESynthSyntax("section '" + FSection.Name + "' names unknown part '" + It->second + "'");
      const std::string R = Role;
      if (R == "lead") Melody(*P, kLead);
      else if (R == "counter") Melody(*P, kCounter);
      else if (R == "arp") Arp(*P);
      else if (R == "pad") Pad(*P);
      else if (R == "bass") Bass(*P);
      else Drums(*P);
    }
    return FPattern;
  }

 private:
  TXmCell& Cell(int Row, int Channel) {
    return FPattern.Cells[static_cast<size_t>(Row) * FChannels + static_cast<size_t>(Channel)];
  }

  void Expect(const TTunePart& P, TPartKind Kind, const char* Role) {
    if (P.Kind != Kind) throw ESynthSyntax("part '" + P.Name + "' cannot play the " + Role + " role");
    if (P.Kind != TPartKind::Drums && P.Tokens.empty()) throw ESynthSyntax("part '" + P.Name + "' is empty");
  }

  uint8_t Instrument(const std::string& Name) {
    const int I = FTune.InstrumentIndex(Name);
    if (I < 0) throw ESynthSyntax("unknown instrument '" + Name + "'");
    return static_cast<uint8_t>(I + 1);
  }

  void Note(int Row, int Channel, int Midi, uint8_t Inst, int Volume = -1) {
    TXmCell& C = Cell(Row, Channel);
    C.Note = static_cast<uint8_t>(ToXmNote(Midi + FSection.Shift));
    C.Instrument = Inst;
    if (Volume >= 0) C.Volume = VolumeByte(static_cast<int>(Volume * FTune.Gain + 0.5));
  }

  void Off(int Row, int Channel) { Cell(Row, Channel) = TXmCell{kKeyOff, 0, 0, 0, 0}; }

  // A role the section leaves out: whatever the channel held is released.
  void Silence(const std::string& Role) {
    if (Role == "lead") Off(0, kLead);
    else if (Role == "counter") Off(0, kCounter);
    else if (Role == "arp") Off(0, kArp);
    else if (Role == "bass") Off(0, kBass);
    else if (Role == "pad")
      for (int V = 0; V < 3; ++V) Off(0, kPad + V);
  }

  const std::string& Token(const std::vector<std::string>& Tokens, int Row) {
    return Tokens[static_cast<size_t>(Row) % Tokens.size()];
  }

  TChord ChordAt(int Row) {
    if (!FProgression) throw ESynthSyntax("section '" + FSection.Name + "' has chord parts but no chords");
    const int Bar = Row / FTune.RowsPerBar;
    const std::string& Symbol = (*FProgression)[static_cast<size_t>(Bar) % FProgression->size()];
    std::vector<std::string> Pieces;
    size_t Start = 0;
    for (;;) {
      const size_t Comma = Symbol.find(',', Start);
      Pieces.push_back(Symbol.substr(Start, Comma == std::string::npos ? std::string::npos : Comma - Start));
      if (Comma == std::string::npos) break;
      Start = Comma + 1;
    }
    const size_t Piece = static_cast<size_t>(Row % FTune.RowsPerBar) * Pieces.size() / FTune.RowsPerBar;
    try {
      return ParseChord(Pieces[Piece]);
    } catch (const std::invalid_argument& E) { throw ESynthSyntax(E.what()); }
  }

  void Melody(const TTunePart& P, int Channel) {
    Expect(P, TPartKind::Melody, "melody");
    const uint8_t Inst = Instrument(P.Instrument);
    for (int R = 0; R < FRows; ++R) {
      std::string T = Token(P.Tokens, R);
      if (T == ".") continue;
      if (T == "-") {
        Off(R, Channel);
        continue;
      }
      int Volume = -1;
      const size_t Colon = T.find(':');
      if (Colon != std::string::npos) {
        Volume = static_cast<int>(SynthText::Number("volume", T.substr(Colon + 1)));
        T = T.substr(0, Colon);
      }
      const int N = NoteNumber(T);
      if (N < 0) throw ESynthSyntax("part '" + P.Name + "': not a note '" + T + "'");
      Note(R, Channel, N, Inst, Volume);
    }
  }

  void Bass(const TTunePart& P) {
    Expect(P, TPartKind::Bass, "bass");
    const uint8_t Inst = Instrument(P.Instrument);
    for (int R = 0; R < FRows; ++R) {
      std::string T = Token(P.Tokens, R);
      if (T == ".") continue;
      if (T == "-") {
        Off(R, kBass);
        continue;
      }
      const int Shift = OctaveMarks(T);
      const TChord C = ChordAt(R);
      const int Low = 12 * (P.Octave + 1) + C.Bass;
      auto Above = [&](int Interval) { return Low + ((C.Root + Interval - C.Bass) % 12 + 12) % 12; };
      int N;
      if (T == "R" || T == "1") N = Low;
      else if (T == "3") N = Above(C.Intervals[1]);
      else if (T == "5") N = Above(C.Intervals[2]);
      else if (T == "7") N = C.Intervals.size() > 3 ? Above(C.Intervals[3]) : Low + 12;
      else if (T == "8") N = Low + 12;
      else N = NoteNumber(T);
      if (N < 0) throw ESynthSyntax("part '" + P.Name + "': not a bass step '" + T + "'");
      Note(R, kBass, N + Shift, Inst);
    }
  }

  void Arp(const TTunePart& P) {
    Expect(P, TPartKind::Arp, "arp");
    const uint8_t Inst = Instrument(P.Instrument);
    for (int R = 0; R < FRows; ++R) {
      std::string T = Token(P.Tokens, R);
      if (T == ".") continue;
      if (T == "-") {
        Off(R, kArp);
        continue;
      }
      const int Shift = OctaveMarks(T);
      if (T.size() != 1 || T[0] < '1' || T[0] > '9')
        throw ESynthSyntax("part '" + P.Name + "': not a chord tone '" + T + "'");
      const TChord C = ChordAt(R);
      const size_t I = static_cast<size_t>(T[0] - '1');
      const size_t K = C.Intervals.size();
      const int N = 12 * (P.Octave + 1) + C.Root + C.Intervals[I % K] + 12 * static_cast<int>(I / K);
      Note(R, kArp, N + Shift, Inst);
    }
  }

  // Three voices near the part's centre: root, third and the seventh when
  // the chord has one, else the fifth.
  std::vector<int> Voicing(const TChord& C, int Center) {
    std::vector<int> Tones = {C.Intervals[0], C.Intervals[1], C.Intervals.size() > 3 ? C.Intervals[3] : C.Intervals[2]};
    std::vector<int> Notes;
    for (int Iv : Tones) {
      const int Pc = (C.Root + Iv) % 12;
      int N = Center - 6;
      while ((N % 12 + 12) % 12 != Pc) ++N;
      Notes.push_back(N);
    }
    std::sort(Notes.begin(), Notes.end());
    return Notes;
  }

  void Pad(const TTunePart& P) {
    Expect(P, TPartKind::Pad, "pad");
    const uint8_t Inst = Instrument(P.Instrument);
    bool Sounding = true;
    std::vector<int> Last;
    for (int R = 0; R < FRows; ++R) {
      const std::string& T = Token(P.Tokens, R);
      if (T == "-") {
        for (int V = 0; V < 3; ++V) Off(R, kPad + V);
        Sounding = false;
        Last.clear();
        continue;
      }
      if (T != "x" && T != ".") throw ESynthSyntax("part '" + P.Name + "': pad steps are x, . and -");
      const auto Notes = Voicing(ChordAt(R), P.Center);
      if (T == "x" || (Sounding && Notes != Last)) {
        for (int V = 0; V < 3; ++V) Note(R, kPad + V, Notes[static_cast<size_t>(V)], Inst);
        Last = Notes;
        Sounding = true;
      }
    }
  }

  void Drums(const TTunePart& P) {
    Expect(P, TPartKind::Drums, "drums");
    for (const TDrumLine& L : P.Drums) {
      const uint8_t Inst = Instrument(L.Instrument);
      const TTuneInstrument& I = FTune.Instruments[Inst - 1u];
      if (!I.Drum) throw ESynthSyntax("'" + L.Instrument + "' in drums '" + P.Name + "' is not a drum");
      if (L.Tokens.empty()) throw ESynthSyntax("empty drum line in '" + P.Name + "'");
      const int Channel = FDrumChannels[Inst - 1u];
      for (int R = 0; R < FRows; ++R) {
        const std::string& T = Token(L.Tokens, R);
        if (T == ".") continue;
        int Volume;
        if (T == "x") Volume = I.Volume;
        else if (T == "X") Volume = std::min(64, I.Volume * 5 / 4);
        else if (T == "o") Volume = I.Volume / 2;
        else throw ESynthSyntax("drums '" + P.Name + "': steps are x, X, o and .");
        TXmCell& C = Cell(R, Channel);
        C.Note = kDrumNote;
        C.Instrument = Inst;
        C.Volume = VolumeByte(static_cast<int>(Volume * FTune.Gain + 0.5));
      }
    }
  }

  const TTune& FTune;
  const TTuneSection& FSection;
  const std::vector<int>& FDrumChannels;
  int FChannels;
  int FRows = 0;
  const std::vector<std::string>* FProgression = nullptr;
  TXmPattern FPattern;
};

}  // namespace

int NoteNumber(const std::string& Name) {
  if (Name.size() < 2 || Name.size() > 3) return -1;
  const char Octave = Name.back();
  if (Octave < '0' || Octave > '8') return -1;
  const int Pc = PitchClass(Name.substr(0, Name.size() - 1));
  if (Pc < 0) return -1;
  return 12 * (Octave - '0' + 1) + Pc;
}

namespace {

// The song without the kit's instruments that none of its played sections use.
TTune WithUsedInstruments(const TTune& Tune) {
  std::vector<std::string> Used;
  for (const auto& Name : Tune.Play) {
    const TTuneSection* S = Tune.FindSection(Name);
    if (!S) throw ESynthSyntax("play names unknown section '" + Name + "'");
    for (const auto& [Role, PartName] : S->Parts) {
      const TTunePart* P = Tune.FindPart(PartName);
      if (!P) throw ESynthSyntax("section '" + S->Name + "' names unknown part '" + PartName + "'");
      if (P->Kind != TPartKind::Drums) Used.push_back(P->Instrument);
      for (const auto& L : P->Drums) Used.push_back(L.Instrument);
    }
  }
  TTune Result = Tune;
  Result.Instruments.clear();
  for (const auto& I : Tune.Instruments)
    if (std::find(Used.begin(), Used.end(), I.Name) != Used.end()) Result.Instruments.push_back(I);
  return Result;
}

}  // namespace

TXmModule ComposeTune(const TTune& Song) {
  const TTune Tune = WithUsedInstruments(Song);
  TXmModule M;
  M.Name = Tune.Title;
  M.Speed = Tune.Speed;
  M.Tempo = Tune.Bpm;
  std::vector<int> DrumChannels(Tune.Instruments.size(), -1);
  int Channels = kFirstDrum;
  for (size_t I = 0; I < Tune.Instruments.size(); ++I)
    if (Tune.Instruments[I].Drum) DrumChannels[I] = Channels++;
  if (Channels > 32) throw ESynthSyntax("more drums than channels");
  M.Channels = Channels + (Channels % 2);  // trackers expect an even count

  for (const auto& I : Tune.Instruments) {
    if (I.Layers.empty()) throw ESynthSyntax("instrument '" + I.Name + "' has no layers");
    M.Instruments.push_back(MakeInstrument(I, Tune.Bpm, Tune.Gain));
  }
  if (Tune.Play.empty()) throw ESynthSyntax("nothing to play");
  std::vector<std::string> Made;
  for (const auto& Name : Tune.Play) {
    const TTuneSection* S = Tune.FindSection(Name);
    if (!S) throw ESynthSyntax("play names unknown section '" + Name + "'");
    auto It = std::find(Made.begin(), Made.end(), Name);
    if (It == Made.end()) {
      M.Patterns.push_back(TSectionWriter(Tune, *S, DrumChannels, M.Channels).Write());
      Made.push_back(Name);
      It = Made.end() - 1;
    }
    M.Orders.push_back(static_cast<uint8_t>(It - Made.begin()));
  }
  if (static_cast<size_t>(Tune.Restart) >= M.Orders.size()) throw ESynthSyntax("restart beyond the play list");
  M.Restart = Tune.Restart;
  return M;
}
