#pragma once

#include <cstdint>
#include <string>

struct Rgb {
    uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const Rgb&) const = default;
};

namespace Colours {
inline constexpr Rgb Red{255, 0, 0};
inline constexpr Rgb Green{0, 255, 0};
} // namespace Colours

enum class HrCheckAnswer { Yes, No, Cancel };

// What the transport shows the user; the main window and its dialogs
// implement it.
class ITransportUi {
public:
    virtual ~ITransportUi() = default;
    // The value label of the status area.
    virtual void SetBusStatus(const std::string& text, Rgb colour) = 0;
    // Makes the communication error dialog visible without waiting for it.
    virtual void ShowCommunicationError() = 0;
    // The "HRCHECK: " question after an adapter call failed.
    virtual HrCheckAnswer AskHrCheck(const std::string& message) = 0;
    // The result of the last connection attempt ("Connected to USB", ...),
    // for the adapter's own status line; shown nowhere by default.
    virtual void ShowConnectionText(const std::string&) {}
};
