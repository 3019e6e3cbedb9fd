#include "platform/windows/key_events.h"

#include <algorithm>

namespace platform::windows {

namespace {

// Far more than anyone types during a scene; beyond it (a key held down for
// minutes) the rest is dropped rather than kept without end.
constexpr std::size_t kMostKept = 4096;
constexpr DWORD kBatch = 64;

bool scene_key(WORD virtual_key, SceneKey& key) {
  switch (virtual_key) {
    case VK_LEFT: key = SceneKey::Left; return true;
    case VK_RIGHT: key = SceneKey::Right; return true;
    case VK_SPACE: key = SceneKey::Space; return true;
    default: return false;
  }
}

}  // namespace

void ConsoleKeys::read(KeyTracker& tracker) {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  for (;;) {
    DWORD waiting = 0;
    if (!GetNumberOfConsoleInputEvents(input, &waiting) || waiting == 0) return;
    INPUT_RECORD records[kBatch];
    DWORD got = 0;
    // No more than are waiting, so the read never waits.
    if (!ReadConsoleInputW(input, records, std::min(waiting, kBatch), &got) || got == 0) return;
    for (DWORD i = 0; i < got; ++i) take(records[i], tracker);
  }
}

// A held key's auto-repeat comes as more presses, which change nothing. A
// key released while another window has the focus sends its release there,
// so losing the focus releases the three keys.
void ConsoleKeys::take(const INPUT_RECORD& record, KeyTracker& tracker) {
  SceneKey key;
  if (record.EventType == KEY_EVENT) {
    const KEY_EVENT_RECORD& k = record.Event.KeyEvent;
    if (scene_key(k.wVirtualKeyCode, key))
      tracker.apply(key, k.bKeyDown ? KeyAction::Press : KeyAction::Release);
    else if (kept_.size() < kMostKept)
      kept_.push_back(record);
  } else if (record.EventType == FOCUS_EVENT && !record.Event.FocusEvent.bSetFocus) {
    for (SceneKey k : {SceneKey::Left, SceneKey::Right, SceneKey::Space})
      tracker.apply(k, KeyAction::Release);
  }
  // Mouse, menu and window-size events mean nothing to the answers.
}

void ConsoleKeys::give_back() {
  DWORD written = 0;
  if (!kept_.empty())
    WriteConsoleInputW(GetStdHandle(STD_INPUT_HANDLE), kept_.data(),
                       static_cast<DWORD>(kept_.size()), &written);
  kept_.clear();
}

}  // namespace platform::windows
