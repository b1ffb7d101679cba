// The mixer driven by hand, one buffer at a time as a device's thread would call it: what each
// device is given, and when a cue's caller is let go, counted in buffers.
#include "sound/mixer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

namespace tervano::sound {
namespace {

using std::chrono::microseconds;

constexpr int kBuffer = 512;

// A cue of `frames` stereo frames whose samples all differ, so that any sample out of place shows.
std::vector<float> cueOf(std::size_t frames, float scale = 1.0f) {
  std::vector<float> samples(2 * frames);
  for (std::size_t i = 0; i < samples.size(); ++i)
    samples[i] = scale * static_cast<float>(i % 997 + 1) / 1000.0f;
  return samples;
}

// One buffer from a device.
std::vector<float> pull(const PcmSource& device) {
  std::vector<float> out(2 * kBuffer, 7.0f);
  device(out.data(), kBuffer);
  return out;
}

std::vector<float> slice(const std::vector<float>& samples, std::size_t fromFrame,
                         std::size_t frames) {
  std::vector<float> part(2 * frames, 0.0f);
  for (std::size_t i = 0; i < part.size() && 2 * fromFrame + i < samples.size(); ++i)
    part[i] = samples[2 * fromFrame + i];
  return part;
}

TEST(Mixer, ACueComesOutWholeAndItsCallerGoesWhenTheLastBufferHasGone) {
  Mixer mixer;
  const PcmSource device = mixer.sourceFor(1);
  mixer.attach(1);
  EXPECT_EQ(pull(device), std::vector<float>(2 * kBuffer, 0.0f)) << "silence before any cue";

  const std::vector<float> expected = cueOf(1000);  // two buffers, the second partly
  std::vector<float> samples = expected;
  const auto cue = mixer.startCue(samples);
  EXPECT_TRUE(samples.empty()) << "no cue played before this one";
  EXPECT_EQ(pull(device), slice(expected, 0, kBuffer));
  EXPECT_FALSE(mixer.waitCue(cue, microseconds(0)));
  EXPECT_EQ(pull(device), slice(expected, kBuffer, kBuffer)) << "the rest, then silence";
  EXPECT_FALSE(mixer.waitCue(cue, microseconds(0)))
      << "the last samples are handed over, but not yet played";
  EXPECT_EQ(pull(device), std::vector<float>(2 * kBuffer, 0.0f));
  EXPECT_TRUE(mixer.waitCue(cue, microseconds(0)));

  std::vector<float> back;
  mixer.endCue(cue, back);
  EXPECT_EQ(back, expected) << "the samples come back to be freed by the caller";
}

TEST(Mixer, ALaterCueReplacesTheFirstAndLetsItsCallerGo) {
  Mixer mixer;
  const PcmSource device = mixer.sourceFor(1);
  mixer.attach(1);
  const std::vector<float> first = cueOf(3000);
  const std::vector<float> second = cueOf(600, 0.5f);
  std::vector<float> a = first;
  std::vector<float> b = second;
  const auto cueA = mixer.startCue(a);
  pull(device);
  const auto cueB = mixer.startCue(b);
  EXPECT_EQ(b, first) << "the replaced cue's samples go to the new caller, to be freed";
  EXPECT_TRUE(mixer.waitCue(cueA, microseconds(0)));
  EXPECT_FALSE(mixer.waitCue(cueB, microseconds(0)));
  std::vector<float> none;
  mixer.endCue(cueA, none);  // its caller ends it late: the second cue goes on
  EXPECT_TRUE(none.empty());
  EXPECT_EQ(pull(device), slice(second, 0, kBuffer)) << "the second from its start";
  EXPECT_EQ(pull(device), slice(second, kBuffer, kBuffer));
}

TEST(Mixer, OnlyTheAttachedDeviceIsMixedFor) {
  // A device that is still closing after a new one opened takes nothing of the cue.
  Mixer mixer;
  const PcmSource closing = mixer.sourceFor(1);
  const PcmSource next = mixer.sourceFor(2);
  mixer.attach(1);
  const std::vector<float> expected = cueOf(2000);
  std::vector<float> samples = expected;
  const auto cue = mixer.startCue(samples);
  EXPECT_EQ(pull(closing), slice(expected, 0, kBuffer));

  const std::vector<float> silence(2 * kBuffer, 0.0f);
  mixer.detach();
  EXPECT_EQ(pull(closing), silence);
  EXPECT_EQ(pull(next), silence) << "not mixed for before it is attached";
  mixer.attach(2);
  EXPECT_EQ(pull(closing), silence);
  EXPECT_EQ(pull(next), slice(expected, kBuffer, kBuffer)) << "the cue goes on where it was";
  EXPECT_FALSE(mixer.waitCue(cue, microseconds(0)));
}

TEST(Mixer, ACueEndedBeforeItsEndIsDroppedAndLoudSamplesAreClipped) {
  // A stalled device: the caller gives up and the cue must not sound later.
  Mixer mixer;
  const PcmSource device = mixer.sourceFor(1);
  mixer.attach(1);
  const std::vector<float> loud(2 * 3000, 1.5f);
  std::vector<float> samples = loud;
  const auto cue = mixer.startCue(samples);
  EXPECT_EQ(pull(device), std::vector<float>(2 * kBuffer, 1.0f));
  std::vector<float> back;
  mixer.endCue(cue, back);
  EXPECT_EQ(back, loud);
  EXPECT_EQ(pull(device), std::vector<float>(2 * kBuffer, 0.0f));
}

}  // namespace
}  // namespace tervano::sound
