#include "platform/win32/win32_media_device.h"

#include "platform/audio/media_file.h"
#include "platform/os/win32/wide.h"
#include "platform/os/win32/windows_api.h"

#include <iterator>

namespace pellora {
namespace {

constexpr wchar_t kNotifyClass[] = L"PelloraMediaNotify";
// HWND_MESSAGE, spelt out: the framework has a window handle type of its
// own by the same name.
const ::HWND kMessageOnlyParent = reinterpret_cast<::HWND>(intptr_t(-3));

// The MCI device type for a file recognised by its contents: the show's
// sound files are temporary files whose extension says nothing. Null
// leaves the choice to MCI, by extension.
const wchar_t* DeviceType(MediaFileKind kind) {
  switch (kind) {
    case MediaFileKind::Wave: return L"waveaudio";
    case MediaFileKind::Midi: return L"sequencer";
    case MediaFileKind::Mpeg: return L"mpegvideo";
    default: return nullptr;
  }
}

class Win32MediaDevice : public MediaDevice {
 public:
  Win32MediaDevice() = default;
  ~Win32MediaDevice() override { Close(); }
  Win32MediaDevice(const Win32MediaDevice&) = delete;
  Win32MediaDevice& operator=(const Win32MediaDevice&) = delete;

  bool Open(const std::string& fileName) override {
    Close();
    if (!CreateNotifyWindow()) return false;
    std::wstring path = Utf8ToWide(fileName);
    MCI_OPEN_PARMSW open{};
    open.lpstrElementName = path.c_str();
    DWORD flags = MCI_OPEN_ELEMENT | MCI_WAIT;
    if (const wchar_t* type = DeviceType(IdentifyMediaFile(fileName))) {
      open.lpstrDeviceType = type;
      flags |= MCI_OPEN_TYPE;
    }
    if (mciSendCommandW(0, MCI_OPEN, flags, DWORD_PTR(&open)) != 0) {
      Close();
      return false;
    }
    device_ = open.wDeviceID;
    PinDriver();
    MCI_SET_PARMS set{};
    set.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
    mciSendCommandW(device_, MCI_SET, MCI_SET_TIME_FORMAT | MCI_WAIT, DWORD_PTR(&set));
    return true;
  }

  bool Play(HWND window, MCIDEVICEID id) override {
    if (!device_) return false;
    MCI_PLAY_PARMS play{};
    play.dwCallback = DWORD_PTR(notify_);
    play.dwFrom = 0;
    if (mciSendCommandW(device_, MCI_PLAY, MCI_FROM | MCI_NOTIFY, DWORD_PTR(&play)) != 0) return false;
    window_ = window;
    id_ = id;
    return true;
  }

  void Stop() override {
    // A stopped sound reports nothing: its notification (aborted or late)
    // finds no listener.
    window_ = 0;
    id_ = 0;
    if (device_) mciSendCommandW(device_, MCI_STOP, MCI_WAIT, 0);
  }

  void Close() override {
    Stop();
    if (device_) mciSendCommandW(device_, MCI_CLOSE, MCI_WAIT, 0);
    device_ = 0;
    if (notify_) DestroyWindow(notify_);
    notify_ = nullptr;
  }

 private:
  // MCI unloads a device's driver when its last device closes, and the
  // driver's playback thread may still be on its way out of the call that
  // posted the end notification which made the show close the device: the
  // thread then runs in freed code (it happened under Wine). The driver
  // stays loaded, pinned, for the rest of the process.
  void PinDriver() {
    wchar_t name[64] = {};
    MCI_SYSINFO_PARMSW info{};
    info.lpstrReturn = name;
    info.dwRetSize = DWORD(std::size(name));
    if (mciSendCommandW(device_, MCI_SYSINFO, MCI_SYSINFO_INSTALLNAME, DWORD_PTR(&info)) != 0 || !name[0]) return;
    wchar_t driver[MAX_PATH] = {};
    DWORD size = sizeof driver;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\MCI32", name,
                     RRF_RT_REG_SZ, nullptr, driver, &size) != ERROR_SUCCESS)
      return;
    ::HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN, driver, &module);
  }

  bool CreateNotifyWindow() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Win32MediaDevice::NotifyProc;
    wc.hInstance = instance;
    wc.lpszClassName = kNotifyClass;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    notify_ = CreateWindowExW(0, kNotifyClass, L"", 0, 0, 0, 0, 0, kMessageOnlyParent, nullptr, instance, this);
    return notify_ != nullptr;
  }

  static ::LRESULT CALLBACK NotifyProc(::HWND hwnd, UINT message, ::WPARAM wParam, ::LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32MediaDevice*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == MM_MCINOTIFY && self && self->notify_ == hwnd) {
      self->Notified(uint32_t(wParam), UINT(lParam));
      return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }

  void Notified(uint32_t code, UINT device) {
    if (code != MCI_NOTIFY_SUCCESSFUL || device != device_ || !id_) return;
    HWND window = window_;
    MCIDEVICEID id = id_;
    window_ = 0;
    id_ = 0;
    NotifyMediaDone(window, id);
  }

  ::HWND notify_ = nullptr;
  UINT device_ = 0;
  HWND window_ = 0;
  MCIDEVICEID id_ = 0;
};

}  // namespace

std::unique_ptr<MediaDevice> CreateWin32MediaDevice() { return std::make_unique<Win32MediaDevice>(); }

}  // namespace pellora
