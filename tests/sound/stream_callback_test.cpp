// The stream callback on its own: what it copies, when it asks to stop, and that it stays inside the samples.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "sound/playback_core.h"
#include "sound/stream_callback.h"

namespace {

constexpr float Sentinel = 99.0f;

int Call(PlaybackRecord& record, std::vector<float>& out, unsigned long frames) {
  out.assign(frames, -7.0f);
  return StreamCallback(nullptr, out.data(), frames, nullptr, 0, &record);
}

// Samples 0.001, 0.002, ... followed by sentinels the callback must never deliver.
std::vector<float> RampWithSentinels(std::size_t count, std::size_t sentinels) {
  std::vector<float> values(count + sentinels, Sentinel);
  for (std::size_t i = 0; i < count; ++i) values[i] = 0.001f * static_cast<float>(i + 1);
  return values;
}

TEST(StreamCallback, FirstCallStartsAtTheBeginningWhateverWasLeft) {
  std::vector<float> samples = RampWithSentinels(1001, 0);
  PlaybackRecord record;
  record.samples = samples.data();
  record.sampleCount = 1001;
  record.playPosition = 500;
  record.buffersDelivered = 42;
  std::vector<float> out;
  EXPECT_EQ(Call(record, out, 2), paContinue);
  EXPECT_EQ(record.state.load(), PlaybackPlaying);
  EXPECT_EQ(out, (std::vector<float>{samples[0], samples[1]}));
  EXPECT_EQ(record.buffersDelivered.load(), 1);
  EXPECT_EQ(Call(record, out, 3), paContinue);
  EXPECT_EQ(out, (std::vector<float>{samples[2], samples[3], samples[4]}));
  EXPECT_EQ(record.buffersDelivered.load(), 2);
}

TEST(StreamCallback, BufferCountsAndSamplesPlayedForTheBufferSizeOfEachSetting) {
  struct Case {
    std::size_t samples;
    int buffers;
    long played;
  };
  const Case cases[] = {{15001, 384, 14976}, {2001, 399, 1995}, {330751, 380, 330600}, {3801, 379, 3790}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.samples);
    std::vector<float> samples = RampWithSentinels(c.samples, 0);
    PlaybackRecord record;
    record.samples = samples.data();
    record.sampleCount = samples.size();
    const unsigned long frames = FramesPerBuffer(samples.size());
    std::vector<float> heard, out;
    int calls = 0;
    int result = paContinue;
    while (result == paContinue && calls < 100000) {
      result = Call(record, out, frames);
      heard.insert(heard.end(), out.begin(), out.end());
      ++calls;
    }
    EXPECT_EQ(calls, c.buffers);
    EXPECT_EQ(record.buffersDelivered.load(), c.buffers);
    ASSERT_EQ(static_cast<long>(heard.size()), c.played);
    EXPECT_TRUE(std::equal(heard.begin(), heard.end(), samples.begin()));
  }
}

TEST(StreamCallback, OddBufferSizesNeverReachPastTheEnd) {
  const std::size_t count = 1001;
  std::vector<float> samples = RampWithSentinels(count, 4096);
  for (unsigned long frames : {1ul, 7ul, 999ul, 1000ul, 1001ul, 1002ul, 4000ul}) {
    SCOPED_TRACE(frames);
    PlaybackRecord record;
    record.samples = samples.data();
    record.sampleCount = count;
    std::vector<float> heard, out;
    int extraCalls = 0;
    // Keep asking four more times after the callback said it is done, as a misbehaving host might.
    for (int call = 0; call < 5000 && extraCalls < 5; ++call) {
      if (Call(record, out, frames) == paComplete) ++extraCalls;
      heard.insert(heard.end(), out.begin(), out.end());
    }
    EXPECT_GT(heard.size(), count);
    for (std::size_t i = 0; i < heard.size(); ++i) {
      if (i < count)
        ASSERT_EQ(heard[i], samples[i]) << "at " << i;
      else
        ASSERT_EQ(heard[i], 0.0f) << "past the end at " << i;
    }
  }
}

TEST(StreamCallback, AfterTheFinishItWritesSilenceAndCountsNoBuffer) {
  std::vector<float> samples = RampWithSentinels(1001, 0);
  PlaybackRecord record;
  record.samples = samples.data();
  record.sampleCount = samples.size();
  StreamFinished(&record);
  EXPECT_EQ(record.state.load(), PlaybackFinished);
  std::vector<float> out;
  EXPECT_EQ(Call(record, out, 5), paComplete);
  EXPECT_EQ(out, std::vector<float>(5, 0.0f));
  EXPECT_EQ(record.buffersDelivered.load(), 0);
}

TEST(FramesPerBuffer, WholeSamplesPerCursorColumn) {
  EXPECT_EQ(FramesPerBuffer(15001), 39ul);
  EXPECT_EQ(FramesPerBuffer(2001), 5ul);
  EXPECT_EQ(FramesPerBuffer(330751), 870ul);
  EXPECT_EQ(FramesPerBuffer(381), 1ul);
  EXPECT_EQ(FramesPerBuffer(3800), 9ul) << "3799 Hz for 1 s: the last sample belongs to no buffer";
  EXPECT_EQ(FramesPerBuffer(1), 0ul);
}

}  // namespace
