// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Command ids of the SMS window's toolbar (also the editor's modes) and the keys of the
// context menu's entries, shared by the command files of the window.
namespace SmsCommand {
inline constexpr int New = 9000;
inline constexpr int Delete = 9001;
inline constexpr int Send = 9002;
inline constexpr int Reply = 9003;
inline constexpr int Forward = 9004;
inline constexpr int Call = 9005;
// The editor's mode for editing a stored draft.
inline constexpr int EditDraft = 8;
} // namespace SmsCommand

namespace SmsMenuKey {
inline constexpr const char New[] = "IDS_MENU_NEW";
inline constexpr const char Edit[] = "IDS_MENU_EDIT";
inline constexpr const char Send[] = "IDS_MENU_SEND";
inline constexpr const char Reply[] = "IDS_MENU_REPLY";
inline constexpr const char Forward[] = "IDS_MENU_FORWARD";
inline constexpr const char Call[] = "IDS_MENU_CALL";
inline constexpr const char VideoCall[] = "IDS_MENU_VIDEO_CALL";
inline constexpr const char SaveNumber[] = "IDS_MENU_SAVENUMBER";
inline constexpr const char Delete[] = "IDS_MENU_DELETE";
inline constexpr const char ClearAll[] = "IDS_MENU_CLEARALL";
inline constexpr const char Recover[] = "IDS_MENU_RECOVER";
inline constexpr const char Search[] = "IDS_MENU_SEARCH";
inline constexpr const char ExportSelected[] = "IDS_EXPORT_SMSSELECT";
inline constexpr const char ExportAll[] = "IDS_EXPORT_SMSALL";
inline constexpr const char MoveTo[] = "IDS_MENU_MOVE2";
inline constexpr const char MoveAllTo[] = "IDS_MENU_MOVEAll2";
inline constexpr const char CopyTo[] = "IDS_MENU_COPY2";
inline constexpr const char CopyAllTo[] = "IDS_MENU_COPYAll2";
inline constexpr const char TargetLocal[] = "IDS_TREE_LOCAL";
inline constexpr const char TargetSim[] = "IDS_TREE_SIM";
inline constexpr const char TargetDevice[] = "IDS_TREE_DEVICE";
} // namespace SmsMenuKey
