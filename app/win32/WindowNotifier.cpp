#include "WindowNotifier.h"

#include <windows.h>

namespace {

class WindowNotifier : public ScanNotifier {
  public:
    explicit WindowNotifier(HWND window) : m_hNotifyWnd(window) {}
    void post(unsigned message, long lParam) override {
        PostMessageA(m_hNotifyWnd, message, 0, static_cast<LPARAM>(lParam));
    }

  private:
    HWND m_hNotifyWnd;
};

}  // namespace

std::shared_ptr<ScanNotifier> makeWindowNotifier(void* hwnd) {
    return std::make_shared<WindowNotifier>(static_cast<HWND>(hwnd));
}
