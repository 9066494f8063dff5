#pragma once
// The program's identity constants.

// The program's icon, which its windows and boxes show.
#define IDI_PROGRAM             128

#ifndef RC_INVOKED

inline constexpr char displayName[] = "Tesselwork 2";
inline constexpr char programName[] = "Tessel2";
inline constexpr char versionText[] = "2.21";

// Where the installation's one registry value lives (under HKEY_CURRENT_USER).
inline constexpr char installKeyPath[] = "SOFTWARE\\Corvanta\\Tesselwork 2";
inline constexpr char installPathValue[] = "InstallPath";

inline constexpr char handoffFileName[] = "Tessel2.ts2";
// The folder of the program's own below the user's local application data: where the
// handoff and result logs go when the installation folder cannot be written.
inline constexpr char userDataFolderName[] = "Tesselwork 2";
inline constexpr char extensionFileName[] = "Tessel.dll";
inline constexpr char helpFileName[] = "tessel2.chm";

// The colour scheme of the main window and of every box it shows; never changed.
inline constexpr int programScheme = 1;

#endif
