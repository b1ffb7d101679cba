#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>

#include "app/event.h"

namespace tervano::app {

// The events one part of the program answers, each bound to a member in one line:
// routes.click(id::kKontrola, &MainGame::kontrola). Unbound events are left to the next part.
template <class Owner>
class Routes {
 public:
  using Kind = Event::Kind;
  using Plain = void (Owner::*)();
  using WithEvent = void (Owner::*)(const Event&);

  Routes& on(Kind kind, std::string_view id, Plain member) { return add(kind, id, member); }
  Routes& on(Kind kind, std::string_view id, WithEvent member) { return add(kind, id, member); }
  Routes& click(std::string_view id, Plain member) { return add(Kind::Click, id, member); }
  Routes& tick(std::string_view timer, Plain member) { return add(Kind::Tick, timer, member); }

  // Runs the member bound to the event; false when none is.
  bool run(Owner& owner, const Event& e) const {
    const auto it = routes_.find(key(e.kind, e.id));
    if (it == routes_.end()) return false;
    if (const auto* plain = std::get_if<Plain>(&it->second))
      (owner.*(*plain))();
    else
      (owner.*std::get<WithEvent>(it->second))(e);
    return true;
  }

 private:
  static std::string key(Kind kind, std::string_view id) {
    std::string k(1, static_cast<char>('A' + static_cast<int>(kind)));
    k.append(id);
    return k;
  }
  Routes& add(Kind kind, std::string_view id, std::variant<Plain, WithEvent> member) {
    routes_[key(kind, id)] = member;
    return *this;
  }

  std::unordered_map<std::string, std::variant<Plain, WithEvent>> routes_;
};

}  // namespace tervano::app
