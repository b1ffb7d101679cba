#pragma once

#include <array>
#include <string>
#include <string_view>

#include "audio/sound.h"
#include "autosave/record.h"
#include "data/events.h"
#include "data/programfolder.h"
#include "data/session.h"
#include "ui/controls.h"
#include "ui/host.h"

namespace tervano::autosave {

// The trigger texts of AUTO1 to AUTO4, in the order of their numbers.
inline constexpr std::array<std::string_view, 4> kTriggerOf = {
    "kontrole každé křížovky", "provedení zadaného skriptu", "začátku ročníku",
    "zadaném bodu uložení"};
inline constexpr std::string_view kRecommended = "<doporučeno>";
// The items of the trigger box, in their order.
inline constexpr std::array<std::string_view, 5> kTriggerItems = {
    "kontrole každé křížovky", "začátku ročníku", "provedení zadaného skriptu",
    "zadaném bodu uložení", "<doporučeno>"};

inline constexpr int kQuotaMin = 5;
inline constexpr int kQuotaMax = 5000;
inline constexpr int kQuotaStep = 50;

// The autosave log: a header and the records written during play, held in the session's Autosf
// and saved whole after every change.
class Autosave {
 public:
  Autosave(ui::Controls& controls, ui::Host& host, const ProgramFolder& folder, Session& session,
           audio::Sound& sound);

  void autoszav();  // AUTOSZAV: read the log at start-up
  void autosave();  // AUTOSAVE: append one record
  void trigger(AutosaveTrigger trigger);
  void applySettings();       // "Aktualizace"
  void normaliseTrigger();    // "<doporučeno>" stands for the recommended moment
  void writeClosingRecord();  // the record of the close request; failures are swallowed

  TextList currentGameState() const;

 private:
  void saveLog();
  // Takes the log from the file again before a change.
  void reread();
  // AUTOSAVE on the log as it is held: one record when the log is on and below the quota.
  void append();

  ui::Controls& controls_;
  ui::Host& host_;
  const ProgramFolder& folder_;
  Session& session_;
  audio::Sound& sound_;
};

}  // namespace tervano::autosave
