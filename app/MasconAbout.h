// The about box: product name, version, copyright and contact lines.
#pragma once

#include "forms/form.h"

#include <span>
#include <string_view>

namespace trevik {

class TMasconAboutBox final : public forms::FormOf<TMasconAboutBox> {
public:
    explicit TMasconAboutBox(forms::Application& app);

    // The version label reads "Version " followed by the given text.
    void SetVersion(std::wstring_view version);

    static const forms::FormDesc& Description();

    forms::Panel Panel1;
    forms::Image ProgramIcon;
    forms::Label ProductName;
    forms::Label Version;
    forms::Label Copyright;
    forms::Label Comments;
    forms::Label Label1;
    forms::Button OKButton;

private:
    friend class forms::FormOf<TMasconAboutBox>;
    static std::span<const forms::MessageEntry<TMasconAboutBox>> MessageMap() { return {}; }
    static std::span<const forms::ClickEntry<TMasconAboutBox>> ClickMap() { return {}; }
};

} // namespace trevik
