#include "app/MasconAbout.h"

#include "app/resource_ids.h"

#include <string>

namespace trevik {
namespace {

using forms::Bevel;
using forms::ControlKind;
using forms::kNoTabOrder;

constexpr forms::FontDesc kProductFont{L"ＭＳ Ｐゴシック", -19, SHIFTJIS_CHARSET, true,
                                       forms::kBlack};

// clang-format off
constexpr forms::ControlDesc kControls[] = {
    // kind                  name           parent     left top  width height text
    //     font            settings                                                     tab
    {ControlKind::Panel,     "Panel1",      nullptr,     8,   8, 281, 137, nullptr,
         nullptr,        {.bevelOuter = Bevel::Lowered, .bevelInner = Bevel::Raised,
                          .parentColour = true},                                         0},
    {ControlKind::Image,     "ProgramIcon", "Panel1",   32,  24,  33,  33, nullptr,
         nullptr,        {.icon = IDI_TREVIK},                                           kNoTabOrder},
    {ControlKind::Label,     "ProductName", "Panel1",   88,  24,  74,  19, L"Trevik",
         &kProductFont,  {},                                                             kNoTabOrder},
    {ControlKind::Label,     "Version",     "Panel1",   88,  48,  39,  12, L"Version",
         nullptr,        {},                                                             kNoTabOrder},
    {ControlKind::Label,     "Copyright",   "Panel1",   64,  72, 145,  12,
         L"Copyright (C) 2026 Trevik developers",
         nullptr,        {},                                                             kNoTabOrder},
    {ControlKind::Label,     "Comments",    "Panel1",   64,  96, 189,  12,
         L"https://trevik.example.org/",
         nullptr,        {.wordWrap = true},                                             kNoTabOrder},
    {ControlKind::Label,     "Label1",      "Panel1",   64, 112, 115,  12, L"trevik@example.org",
         nullptr,        {},                                                             kNoTabOrder},
    {ControlKind::Button,    "OKButton",    nullptr,   111, 156,  75,  25, L"OK",
         nullptr,        {.defaultButton = true, .modalResult = forms::kModalOk},        1},
};
// clang-format on

constexpr forms::FormDesc kForm{
    .caption = L"ﾊﾞｰｼﾞｮﾝ情報",
    .left = 358,
    .top = 290,
    .clientWidth = 298,
    .clientHeight = 187,
    .border = forms::BorderStyle::Dialog,
    .position = forms::FormPosition::ScreenCentre,
    .font = {L"ＭＳ Ｐゴシック", -12, DEFAULT_CHARSET},
    .icon = 0,
    .controls = kControls,
};

} // namespace

const forms::FormDesc& TMasconAboutBox::Description() {
    return kForm;
}

TMasconAboutBox::TMasconAboutBox(forms::Application& app)
    : FormOf(app, kForm), Panel1(Bind<forms::Panel>("Panel1")),
      ProgramIcon(Bind<forms::Image>("ProgramIcon")),
      ProductName(Bind<forms::Label>("ProductName")), Version(Bind<forms::Label>("Version")),
      Copyright(Bind<forms::Label>("Copyright")), Comments(Bind<forms::Label>("Comments")),
      Label1(Bind<forms::Label>("Label1")), OKButton(Bind<forms::Button>("OKButton")) {}

void TMasconAboutBox::SetVersion(std::wstring_view version) {
    Version.SetText(L"Version " + std::wstring(version));
}

} // namespace trevik
