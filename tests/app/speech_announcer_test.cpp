#include "app/speech/speech_announcer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/speech/voice_choice.h"
#include "support/local_literal.h"

namespace varnola {
namespace {

constexpr auto kPatience = std::chrono::seconds(30);  // only bounds a broken test

struct VoiceCase {
  const char* what;
  std::vector<VoiceDescription> voices;
  std::optional<std::size_t> chosen;
};

TEST(ChooseVoiceTest, PicksTheFirstChineseVoicePreferringMandarinReadAsChinese) {
  const VoiceCase cases[] = {
      {"no voices", {}, std::nullopt},
      {"no Chinese voice: the default stays",
       {{"English (Great Britain)", "en", "none"}, {"German", "de", "none"}},
       std::nullopt},
      {"upper-case letters in the name",
       {{"English", "en", "none"}, {"CHINESE Female", "zh", "none"}},
       1},
      {"first of two matching voices",
       {{"ChInEsE voice one", "zh", ""}, {"Chinese voice two", "zh", ""}},
       0},
      {"the word in the variant counts",
       {{"Xiaoyan", "zh-CN", "中文女声"}, {"Chinese", "zh", ""}},
       0},
      {"the language code alone is not enough",
       {{"Xiaoyan", "zh", "none"}, {"espeak", "cmn", "none"}},
       std::nullopt},
      {"Mandarin read as Chinese wins over Mandarin read as English",
       {{"Chinese (Mandarin, latin as English)", "cmn", "none"},
        {"Chinese (Mandarin, latin as English)+Adam", "cmn", "Adam"},
        {"Chinese (Mandarin, latin as Pinyin)", "cmn-latn-pinyin", "none"}},
       2},
      {"without a better voice, the first match",
       {{"Chinese (Mandarin, latin as English)", "cmn", "none"},
        {"Chinese (Cantonese)", "yue", "none"}},
       0},
  };
  for (const VoiceCase& c : cases) {
    EXPECT_EQ(ChooseVoice(c.voices), c.chosen) << c.what;
  }
}

// A speech service in memory. Open can be held back, to play a service that is slow to
// start or never answers.
class FakeService {
 public:
  bool openSucceeds = true;
  std::vector<VoiceDescription> voices;

  // Everything the announcer did, in order: "open", "voice:<name>", "say:<text>", "close".
  std::vector<std::string> Calls() {
    std::lock_guard lock(m_mutex);
    return m_calls;
  }
  bool WaitForCalls(std::size_t count) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, kPatience, [&] { return m_calls.size() >= count; });
  }
  void HoldOpen() { m_openHeld = true; }
  void ReleaseOpen() {
    std::lock_guard lock(m_mutex);
    m_openHeld = false;
    m_changed.notify_all();
  }

  void Record(std::string call) {
    std::lock_guard lock(m_mutex);
    m_calls.push_back(std::move(call));
    m_changed.notify_all();
  }
  void WaitWhileHeld() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return !m_openHeld; });
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::vector<std::string> m_calls;
  bool m_openHeld = false;
};

class FakeBackend final : public SpeechBackend {
 public:
  explicit FakeBackend(std::shared_ptr<FakeService> service) : m_service(std::move(service)) {}
  bool Open() override {
    m_service->WaitWhileHeld();
    m_service->Record("open");
    return m_service->openSucceeds;
  }
  std::vector<VoiceDescription> ListVoices() override { return m_service->voices; }
  void SelectVoice(const VoiceDescription& voice) override {
    m_service->Record("voice:" + voice.name);
  }
  void Say(const std::string& utf8Text) override { m_service->Record("say:" + utf8Text); }
  void Close() override { m_service->Record("close"); }

 private:
  std::shared_ptr<FakeService> m_service;
};

TEST(SpeechAnnouncerTest, TextsAnnouncedBeforeTheVoiceIsChosenAreSpokenInOrderAfterIt) {
  auto service = std::make_shared<FakeService>();
  service->voices = {{"English", "en", "none"}, {"Chinese", "zh", "none"}};
  service->HoldOpen();
  {
    SpeechAnnouncer announcer(std::make_unique<FakeBackend>(service));
    announcer.Announce(test::L("登录中...请稍后"));  // returns while the service starts
    announcer.Announce(test::L("一共获取到12笔订单数据"));
    service->ReleaseOpen();
    ASSERT_TRUE(service->WaitForCalls(4));
  }
  EXPECT_EQ(service->Calls(),
            (std::vector<std::string>{"open", "voice:Chinese", "say:登录中...请稍后",
                                      "say:一共获取到12笔订单数据", "close"}));
}

TEST(SpeechAnnouncerTest, WithoutAServiceAnnouncingDoesNothing) {
  auto service = std::make_shared<FakeService>();
  service->openSucceeds = false;
  {
    SpeechAnnouncer announcer(std::make_unique<FakeBackend>(service));
    ASSERT_TRUE(service->WaitForCalls(1));
    announcer.Announce(test::L("登录中...请稍后"));
  }
  EXPECT_EQ(service->Calls(), std::vector<std::string>{"open"});
}

TEST(SpeechAnnouncerTest, AServiceThatNeverAnswersDoesNotHoldUpTheExit) {
  auto service = std::make_shared<FakeService>();
  service->HoldOpen();
  {
    SpeechAnnouncer announcer(std::make_unique<FakeBackend>(service), std::chrono::milliseconds(0));
    announcer.Announce(test::L("登录中...请稍后"));
  }  // returns although the service has not answered
  EXPECT_TRUE(service->Calls().empty());
  // The service answers late: the left-behind thread ends without speaking.
  service->ReleaseOpen();
  ASSERT_TRUE(service->WaitForCalls(2));
  EXPECT_EQ(service->Calls(), (std::vector<std::string>{"open", "close"}));
}

}  // namespace
}  // namespace varnola
