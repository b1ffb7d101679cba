#pragma once

#include <memory>

#include "app/mode.h"
#include "app/routes.h"
#include "sets/set_manager.h"

namespace tervano::app {

// Set selection (-SADA): the installed sets, the active one switched by renaming folders, and
// the installation, creation, renaming and deletion of sets.
class SetSelectionMode : public Mode {
 public:
  explicit SetSelectionMode(Application& app);
  ~SetSelectionMode() override;
  void declare(ui::Controls& controls) override;
  void start() override;
  bool handle(const Event& event) override;
  bool closeQuery() override;
  bool beforeReturnToMain() override;
  void chooserCreated() override;

  sets::SetManager& sets() { return *sets_; }

 private:
  void choose(const Event& event);
  void editBox(const Event& event);
  void editNumber(const Event& event);
  void focusNumber(const Event& event);
  void confirm();

  std::unique_ptr<sets::SetManager> sets_;
  Routes<SetSelectionMode> routes_;
  Routes<sets::SetManager> setRoutes_;
};

}  // namespace tervano::app
