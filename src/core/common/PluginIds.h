// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Identifiers shared by the host and its plug-ins: the CLSID under which each plug-in is
// registered in the plug-in container, the interface numbers callers pass to
// PluginContainer::GetPlugin, and the numbers of the events the host forwards through
// INotify::Notify and the notify service.

namespace PluginIds {

// CLSIDs (the container compares them case-insensitively).
inline constexpr const char SmsUi[] = "ED395DF6-E3BA-478e-8AE9-D8A1BF090214";
inline constexpr const char AddrBook[] = "EB7C34BA-E88D-40fd-AEE9-9D6C4114A45D";
inline constexpr const char MainFrame[] = "D754AE84-535F-4c18-85F8-F154CFE34DDF";
inline constexpr const char MiniFrame[] = "D754AE84-535F-4c18-85F8-F154CFE34FFF";
inline constexpr const char DeviceMgr[] = "8772F2BF-3227-4203-AFDD-DBAD1E9D1F98";
inline constexpr const char NotifyService[] = "C986A689-A5F6-4215-84BD-39BA626F1F57";
inline constexpr const char MainToolbar[] = "D2AB6727-AF80-4ef7-B37E-F217803B85A4";
inline constexpr const char MainMenu[] = "FCDC307E-06DC-4dfa-AC83-834D0E306D48";
inline constexpr const char CallUi[] = "58A0343A-93DB-4ea2-92B4-C51589629381";
// The status-bar receiver of the "messages changed" notice (event StatusBarNotice).
inline constexpr const char StatusBar[] = "881EA87E-882C-4f22-961C-466E0686F707";

// The plug-in's name at the host (toolbar button, menu entry, layout page).
inline constexpr const char SmsUiName[] = "SMSUIPlugin";

} // namespace PluginIds

// The second argument of PluginContainer::GetPlugin: which interface of the plug-in the
// caller wants. The container returns the object registered for that number, or the
// plug-in's default object (number 0) when nothing more specific was registered.
namespace InterfaceId {
inline constexpr int Default = 0;
inline constexpr int SmsUiService = 4097;     // ISMSUIService of the SMS plug-in
inline constexpr int SettingUiPlugin = 4098;  // ISettingUIPlugin of the SMS plug-in
inline constexpr int AddrBook = 4097;
inline constexpr int MainFrame = 4113;
inline constexpr int MiniFrame = 4097;
inline constexpr int DeviceMgr = 4097;
inline constexpr int NotifyService = 8209;
inline constexpr int MainToolbar = 4099;
inline constexpr int MainMenu = 4099;
inline constexpr int CallUi = 4097;
} // namespace InterfaceId

// Event numbers passed to INotify::Notify (host -> plug-in) and through INotifyService.
namespace HostEvent {
inline constexpr unsigned int MainFrameShown = 258;
inline constexpr unsigned int PhoneBookAdded = 288;
inline constexpr unsigned int PhoneBookChanged = 289;
inline constexpr unsigned int PhoneBookRemoved = 290;
inline constexpr unsigned int LanguageChanged = 320;
inline constexpr unsigned int SmsCanSend = 352;        // broadcast by the SMS plug-in
inline constexpr unsigned int SmsCannotSend = 353;     // broadcast by the SMS plug-in
inline constexpr unsigned int StatusBarNotice = 354;   // sent to PluginIds::StatusBar
inline constexpr unsigned int LaunchSmsInbox = 513;
inline constexpr unsigned int CallAvailability = 515;  // param1 != 0: calls possible
inline constexpr unsigned int FlightModeOn = 576;
inline constexpr unsigned int FlightModeOff = 577;
inline constexpr unsigned int SimAvailable = 578;
inline constexpr unsigned int SimUnavailable = 579;
inline constexpr unsigned int DeviceRemoved = 4101;
} // namespace HostEvent

// Bits of CommonUtils::GetFrameStyle().
namespace FrameStyle {
inline constexpr int Normal = 0;
inline constexpr int Mini = 4;
} // namespace FrameStyle

// Results of the SMS plug-in's own operations, shared so the host can read them.
namespace SmsResult {
inline constexpr int Success = 0;
inline constexpr int Failure = 1;
inline constexpr int InvalidArgument = 23;
} // namespace SmsResult
