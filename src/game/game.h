#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "audio/sound.h"
#include "data/programfolder.h"
#include "data/session.h"
#include "game/hooks.h"
#include "ui/controls.h"
#include "ui/host.h"

namespace tervano::game {

// The access code that opens the game-settings window from "Nastavení+Nová hra".
inline constexpr std::string_view kAccessCode = "58204";

// Game state and commands: the crossword in play (prvkr), the game flow, the answer check and
// saved games. The counters are the texts shown beside their captions.
class Game {
 public:
  Game(ui::Controls& controls, ui::Host& host, const ProgramFolder& folder, Session& session,
       audio::Sound& sound, GameHooks& hooks);

  // Counters as text (scripts may set any text) and as numbers (a conversion error otherwise).
  const std::string& counter(std::string_view id) const;
  void setCounter(std::string_view id, std::string text);
  std::int32_t number(std::string_view id) const;

  bool gameRunning() const;  // "Ukončit hru" is enabled

  // Loads the crossword selected by the grade and crossword counters.
  void prvkr();

  void newGame();
  void newGameWithSettings();
  void accessCodeTimerFired();
  void endGame();
  void showMenu();
  void returnToGame();
  void start();
  void kontrolaTimerTick();
  void gaugeTimerTick();

  // The user's click on "Konkrétně ukázat chybu" or its caption.
  void toggleErrorPerLine();
  // Ticks or unticks the box as a program would; the reaction runs on a real change.
  void setErrorPerLine(bool ticked);
  void errorPerLineReaction();
  // A script's "aplikace.nastaveni.ukch(ano)", answered by the script's next line.
  void scriptTicksErrorPerLine(std::string_view answers);

  void kontrola();
  // Completion of the whole game, shared with the script's "aplikace.hra.ukhjdok".
  void showMenuForCompletion();
  // "aplikace.hra.ukhjdok": the running game ends as if it had been completed.
  void endAsCompleted();
  void setNoGameColumn();
  void setGameRunningColumn();

  // Saved games.
  void save();
  void sk();
  void loadGameCommand();  // "Načíst hru"
  void load() { lk(); }
  void lk();
  void ovv();
  // The exported autosave record is deleted once a game has been loaded in full.
  void discardExportedRecord();

  static std::string changeExtension(const std::string& path, std::string_view extension);
  ui::FileDialogOptions loadDialogOptions() const;
  ui::FileDialogOptions saveDialogOptions() const;
  bool isAutosaveLog(const std::string& path) const;

 private:
  void repair();
  // A saved game is never written from an empty record; true (with a message) when it is empty.
  bool refuseEmptyRecord();
  void applySwitches();

  ui::Controls& controls_;
  ui::Host& host_;
  const ProgramFolder& folder_;
  Session& session_;
  audio::Sound& sound_;
  GameHooks& hooks_;
};

}  // namespace tervano::game
