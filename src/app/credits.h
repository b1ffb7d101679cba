#pragma once

#include <cstdint>
#include <random>

#include "app/event.h"
#include "app/routes.h"
#include "data/session.h"
#include "ui/controls.h"

namespace tervano::app {

// Author named in the about window and the credits.
inline constexpr const char* kAuthor = "Tým Tervano";
inline constexpr const char* kAppVersion = "3.00";

// The credits panel of the menu screen: seven pages scrolling down through its body, the title
// changing colour at random.
class Credits {
 public:
  Credits(ui::Controls& controls, const Session& session, std::uint32_t seed);

  void start();  // "Credits", F3
  void stop();   // "X"
  void seed(std::uint32_t seed) { random_.seed(seed); }
  bool handle(const Event& event);

 private:
  void tick();

  ui::Controls& controls_;
  const Session& session_;
  std::mt19937 random_;
  int page_ = 0;
  Routes<Credits> routes_;
};

}  // namespace tervano::app
