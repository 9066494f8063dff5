; Setup of Tesselwork 2: the program, its Explorer extension and the help file into Program
; Files, the extension registered, Start-menu entries and an uninstaller listed under
; installed programs. Built by the build (target "installer"), which defines:
;   VERSION_TEXT, VERSION_DOTTED, VERSION_SPACED   the release number in its three forms
;   BIN64, BIN32   folders holding the 64-bit and the 32-bit Tessel2.exe and Tessel.dll
;   HELP           tessel2.chm
;   ICON           the program icon
;   OUTFILE        the installer to write
;   TARGET_AMD64   (optional) a 64-bit installer that carries only the 64-bit pair
;
; One 32-bit installer serves both kinds of Windows: 64-bit Explorer loads only a 64-bit
; extension, so on 64-bit Windows it installs the 64-bit pair into the 64-bit Program Files
; and registers it through the 64-bit regsvr32, in the 64-bit registry view.

!ifdef TARGET_AMD64
  Target amd64-unicode
  ; ${RunningX64} is constant here, which leaves the other branches' labels unused.
  !pragma warning disable 6012
!else
  Target x86-unicode
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh

!define PRODUCT "Tesselwork 2"
!define COMPANY "Corvanta"
!define CLSID "{B2D2B1ED-EC81-4009-9B4C-E4ACFF4C5C4B}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; The program's own key: InstallPath tells the extension where the program lives.
!define PROGRAM_KEY "SOFTWARE\${COMPANY}\${PRODUCT}"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir ""
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "${PRODUCT} ${VERSION_TEXT}"
ManifestDPIAware true

VIProductVersion "${VERSION_DOTTED}"
VIFileVersion "${VERSION_DOTTED}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION_SPACED}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION_TEXT}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) ${COMPANY}"
VIAddVersionKey /LANG=1033 "OriginalFilename" "tessel2.exe"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\tessel2.chm"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show the help"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The registry view of the pair this Windows runs (its registration and its entry among the
; installed programs), the same for the installer and the uninstaller.
!macro ChooseView
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
!macroend

; The regsvr32 that loads the installed pair: from a 32-bit installer on 64-bit Windows the
; system folder it sees is the 32-bit one, so the 64-bit program is reached through Sysnative.
!macro Regsvr32 _options _result
  ${If} ${RunningX64}
  !if ${NSIS_PTR_SIZE} > 4
    StrCpy $R9 "$SYSDIR\regsvr32.exe"
  !else
    StrCpy $R9 "$WINDIR\Sysnative\regsvr32.exe"
  !endif
  ${Else}
    StrCpy $R9 "$SYSDIR\regsvr32.exe"
  ${EndIf}
  ClearErrors
  ExecWait '"$R9" ${_options} "$INSTDIR\Tessel.dll"' ${_result}
  ${If} ${Errors}
    StrCpy ${_result} "not started"
  ${EndIf}
!macroend

Function .onInit
  !ifdef TARGET_AMD64
    ${IfNot} ${RunningX64}
      MessageBox MB_ICONSTOP "This setup is for 64-bit Windows." /SD IDOK
      Abort
    ${EndIf}
  !endif
  !insertmacro ChooseView
  ; /D= on the command line chooses the folder; otherwise an earlier installation's folder,
  ; otherwise Program Files.
  ${If} $INSTDIR == ""
    ReadRegStr $INSTDIR HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${EndIf}
  ${If} $INSTDIR == ""
    ${If} ${RunningX64}
      StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
    ${Else}
      StrCpy $INSTDIR "$PROGRAMFILES\${PRODUCT}"
    ${EndIf}
  ${EndIf}
FunctionEnd

; Explorer keeps a loaded extension open: such a file cannot be replaced, but it can be moved
; aside and removed at the next restart.
!macro MoveAsideIfHeld _file
  Delete "${_file}"
  ${If} ${FileExists} "${_file}"
    GetTempFileName $R8 "$INSTDIR"
    Delete $R8
    Rename "${_file}" $R8
    Delete /REBOOTOK $R8
  ${EndIf}
!macroend

Section "${PRODUCT}" SectionProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  !insertmacro MoveAsideIfHeld "$INSTDIR\Tessel.dll"
  ${If} ${RunningX64}
    File "${BIN64}\Tessel2.exe"
    File "${BIN64}\Tessel.dll"
  !ifndef TARGET_AMD64
  ${Else}
    File "${BIN32}\Tessel2.exe"
    File "${BIN32}\Tessel.dll"
  !endif
  ${EndIf}
  File "${HELP}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; The extension refuses to load until it knows where the program lives; the program
  ; writes the same value at every start.
  WriteRegStr HKCU "${PROGRAM_KEY}" "InstallPath" "$INSTDIR\"
  !insertmacro Regsvr32 "/s" $0
  ${If} $0 != 0
    DetailPrint "The Explorer command could not be registered ($0); the program registers it when it starts."
  ${EndIf}

  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\Tessel2.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT} Help.lnk" "$INSTDIR\tessel2.chm"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\Uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION_TEXT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tessel2.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $1 $2 $3
  IntFmt $1 "0x%08X" $1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $1
SectionEnd

Function un.onInit
  !insertmacro ChooseView
FunctionEnd


; A running program holds its files: the uninstaller asks the user to close it, or, run
; without questions, closes it as its own Close does and answers its question with Yes
; (the question box's Yes is command IDOK). It then waits for it to go, for a while.
Function un.CloseRunningProgram
  StrCpy $R1 0
  ${Do}
    FindWindow $R0 "#32770" "${PRODUCT}"
    ${If} $R0 == 0
      Return
    ${EndIf}
    ${IfNot} ${Silent}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is running. Close it, then click Retry. Cancel closes it for you." IDRETRY next
    ${EndIf}
    SendMessage $R0 ${WM_CLOSE} 0 0 /TIMEOUT=100
    Sleep 200
    FindWindow $R2 "#32770" "Please select"
    ${If} $R2 != 0
      SendMessage $R2 ${WM_COMMAND} 1 0 /TIMEOUT=100
    ${EndIf}
    Sleep 200
    IntOp $R1 $R1 + 1
    ${If} $R1 >= 50
      DetailPrint "${PRODUCT} is still running; its files may stay until the next restart."
      Return
    ${EndIf}
    next:
  ${Loop}
FunctionEnd

Section "Uninstall"
  Call un.CloseRunningProgram
  ; The extension is unregistered only when the registration is this installation's: a copy
  ; of the program elsewhere that registered its own library last keeps its menu command.
  ReadRegStr $0 HKCR "CLSID\${CLSID}\InprocServer32" ""
  ${If} $0 == "$INSTDIR\Tessel.dll"
    ; The library does not load without InstallPath; this user may never have started it.
    WriteRegStr HKCU "${PROGRAM_KEY}" "InstallPath" "$INSTDIR\"
    !insertmacro Regsvr32 "/u /s" $1
    ${If} $1 != 0
      DetailPrint "The Explorer command could not be unregistered ($1)."
    ${EndIf}
  ${EndIf}
  ; InstallPath is read by the extension alone: it goes with the registration, and stays
  ; when another copy's extension is registered. The program's key and the maker's key go
  ; when nothing else is left in them.
  ${If} $0 == ""
  ${OrIf} $0 == "$INSTDIR\Tessel.dll"
    DeleteRegValue HKCU "${PROGRAM_KEY}" "InstallPath"
    DeleteRegKey /ifempty HKCU "${PROGRAM_KEY}"
    DeleteRegKey /ifempty HKCU "SOFTWARE\${COMPANY}"
  ${EndIf}

  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT} Help.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"

  Delete "$INSTDIR\Tessel2.exe"
  Delete /REBOOTOK "$INSTDIR\Tessel.dll"
  Delete "$INSTDIR\tessel2.chm"
  ; A handoff the program never picked up, here and in this user's own folder of the
  ; program; saved result logs are the user's and stay.
  Delete "$INSTDIR\Tessel2.ts2"
  SetShellVarContext current
  Delete "$LOCALAPPDATA\${PRODUCT}\Tessel2.ts2"
  RMDir "$LOCALAPPDATA\${PRODUCT}"
  SetShellVarContext all
  Delete "$INSTDIR\Uninstall.exe"
  RMDir /REBOOTOK "$INSTDIR"
  ${If} ${FileExists} "$INSTDIR\*.*"
    DetailPrint "$INSTDIR is kept: it holds files that were not installed (saved result logs)."
  ${EndIf}

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
