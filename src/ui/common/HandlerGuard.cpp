#include "ui/common/HandlerGuard.hpp"

#include "platform/Exception.hpp"
#include "platform/HostPaths.hpp"
#include "platform/Text.hpp"
#include "ui/common/GbkText.hpp"
#include "ui/seams/Dialogs.hpp"

#include <cstddef>
#include <exception>

namespace skorvin::ui {

namespace {

bool isSeparator(char c)
{
#ifdef _WIN32
    return c == '\\' || c == '/';
#else
    return c == '/';
#endif
}

} // namespace

std::string HostProgramName(std::string_view executablePath)
{
    // Walk whole characters: a GBK trail byte may have the value of "\\" or of an ASCII letter.
    std::size_t nameStart = 0;
    for (std::size_t i = 0; i < executablePath.size(); i += text::charLength(executablePath, i)) {
        if (isSeparator(executablePath[i]))
            nameStart = i + 1;
    }
    std::string_view name = executablePath.substr(nameStart);
    name = name.substr(0, name.find('.'));

    std::string result;
    result.reserve(name.size());
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t n = text::charLength(name, i);
        if (i > 0 && n == 1)
            result += text::lowerAscii(name[i]);
        else
            result.append(name.substr(i, n));
        i += n;
    }
    return result;
}

std::string ErrorBoxText(std::string_view message)
{
    std::string text(message);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.'))
        text += '.';
    return text;
}

void ShowExceptionBox(std::string_view message)
{
    Replaceable<Dialogs>::inForce().message(ownerWindow(), toQString(HostProgramName(hostExecutablePath())),
                                            toQString(ErrorBoxText(message)), Dialogs::Icon::Stop);
}

void runGuarded(const std::function<void()>& handler)
{
    try {
        try {
            handler();
        } catch (const EAbort&) {
        } catch (const Exception& error) {
            ShowExceptionBox(error.message());
        } catch (const std::exception& error) {
            ShowExceptionBox(error.what());
        } catch (...) {
            ShowExceptionBox("Unknown error");
        }
    } catch (...) {
        // The box itself failed (no memory, no display): nothing more can be shown.
    }
}

} // namespace skorvin::ui
