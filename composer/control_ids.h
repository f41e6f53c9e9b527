// Child-window identifiers of the composer's main form.
#pragma once

namespace loomwright {

enum ControlId : int {
    kIdPageControl = 10,
    kIdPageFirst = 20,  // the eight page windows: 20..27
    kIdSourceGroup = 40,
    kIdMacroBox,
    kIdAddBtn,
    kIdDelBtn,
    kIdTestBtn,
    kIdPrintBtn,
    kIdUpBtn,
    kIdDownBtn,
    kIdStatusBar,
    // Windows page
    kIdWindowGuide = 60,
    kIdTitleBox,
    kIdTrackBar1,
    kIdRuler,
    kIdMatchBox,
    kIdRefreshBtn,
    kIdViewBtn,
    kIdCopyBtn,
    // Menus page
    kIdMenusGuide = 80,
    kIdMenuTree,
    // Controls page
    kIdCtrlGuide = 90,
    kIdCtrl,
    kIdClipsStatusBar,
    // Commands page
    kIdCommandsNote = 100,
    kIdCommandTree,
    kIdPgmNameGroup,
    kIdPgmName,
    kIdBrowseBtn,
    kIdPauseGroup,
    kIdPauseEdit,
    kIdPause,
    kIdComValueGroup,
    kIdComValue,
    kIdParmBtn,
    // Keys page
    kIdKeysGuide = 110,
    kIdKeyStrokesGroup,
    kIdKeyStrokes,
    kIdAutoTextGroup,
    kIdAutoText,
    kIdCountGroup,
    kIdCountEdit,
    kIdCount,
    kIdAltBtn,
    kIdTabBtn,
    kIdClearKeysBtn,
    kIdKeyBox,
    // Popup page
    kIdPopMemo = 130,
    kIdPopTitleLabel,
    kIdPopTitle,
    kIdPopBarHLabel,
    kIdPopBarH,
    kIdPopBarVLabel,
    kIdPopBarV,
    kIdRemarkBox,
    kIdPopTestBtn,
    // Clips page
    kIdClipsMemo = 150,
    kIdClearClipsBtn,
    // Tessdeck page
    kIdPadPalette = 160,
    kIdPadGroup,
    kIdPadBar,
    kIdPadGuide,
    kIdIconHintLabel,
    kIdIconHint,
    kIdHotKeyLabel,
    kIdHotKey,
    kIdRunNameLabel,
    kIdRunName,
    kIdPadBrowseBtn,
    kIdLoadPadBtn,
    kIdSavePadBtn,
    kIdTestPadBtn,
    kIdPadStatusBar,
};

}  // namespace loomwright
