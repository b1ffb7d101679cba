// Where no D-Bus session bus can be found, libdbus would launch one that outlives the program.
#include "audio/session_bus.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

namespace tervano::audio {
namespace {

namespace fs = std::filesystem;

// Sets or removes a variable for the test's duration.
class Variable {
 public:
  Variable(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  ~Variable() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

std::optional<std::string> variable(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::optional<std::string>(v) : std::nullopt;
}

TEST(SessionBus, TheAutolaunchIsPreventedOnlyWhereNoBusCanBeFound) {
  const fs::path runtime = fs::temp_directory_path() / ("tervano-bus-" + std::to_string(getpid()));
  const fs::path withSocket = runtime / "socket";
  const fs::path withFile = runtime / "file";
  fs::create_directories(withSocket);
  fs::create_directories(withFile);
  // A listening socket stands for the user bus of a systemd session.
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string socketPath = (withSocket / "bus").string();
  ASSERT_LT(socketPath.size(), sizeof address.sun_path);
  std::strcpy(address.sun_path, socketPath.c_str());
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  std::FILE* plain = std::fopen((withFile / "bus").c_str(), "w");
  ASSERT_NE(plain, nullptr);
  std::fclose(plain);

  const struct {
    const char* name;
    std::optional<std::string> address;
    std::optional<std::string> runtimeDir;
    bool prevented;
  } cases[] = {
      {"a bus address given", "unix:path=/run/user/1000/bus", std::nullopt, false},
      {"an empty address given (libdbus fails on it, no autolaunch)", "", std::nullopt, false},
      {"the user bus socket", std::nullopt, withSocket.string(), false},
      {"a plain file where the socket would be", std::nullopt, withFile.string(), true},
      {"an empty runtime folder", std::nullopt, runtime.string(), true},
      {"no runtime folder", std::nullopt, std::nullopt, true},
  };
  for (const auto& c : cases) {
    Variable bus(kSessionBusVariable, c.address);
    Variable dir("XDG_RUNTIME_DIR", c.runtimeDir);
    EXPECT_EQ(preventSessionBusAutolaunch(), c.prevented) << c.name;
    EXPECT_EQ(sessionBusAutolaunchPrevented(), c.prevented) << c.name;
    if (c.prevented) {
      // Set once: a second call changes nothing.
      EXPECT_FALSE(preventSessionBusAutolaunch()) << c.name;
      EXPECT_TRUE(variable(kSessionBusVariable).has_value());
    } else {
      EXPECT_EQ(variable(kSessionBusVariable), c.address) << c.name << ": left as it was";
    }
  }
  // The user's own value is never taken for ours.
  Variable own(kSessionBusVariable, "unix:path=/tmp/own");
  EXPECT_FALSE(sessionBusAutolaunchPrevented());

  close(fd);
  fs::remove_all(runtime);
}

}  // namespace
}  // namespace tervano::audio
