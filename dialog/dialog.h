// The main dialog: owns the lists, the value fields, the target and its rectangles.
#pragma once
#include <windows.h>

#include "app/app_module.h"
#include "app/hand_over.h"
#include "dialog/about_box.h"
#include "dialog/reticle_site.h"
#include "dialog/target_move.h"
#include "dialog/target_watcher.h"
#include "enum/monitor_list.h"
#include "enum/process_rights.h"
#include "enum/window_enum.h"
#include "enum/window_list.h"
#include "geometry/coord_value.h"
#include "geometry/placement.h"
#include "res/resource.h"
#include "win/dialog_impl.h"
#include "win/handles.h"

// Posted to itself by a dialog started with a hand-over, to take it once shown.
inline constexpr UINT kMsgTakeHandOver = WM_APP + 1;
// Posted to itself at a new scale, to size what it sized itself once the
// dialog manager has rescaled the rest.
inline constexpr UINT kMsgRescale = WM_APP + 2;

// The value fields, in the order of the values they show.
inline constexpr int kFieldIds[4] = {IDC_WIDTH, IDC_HEIGHT, IDC_X, IDC_Y};

class CDialog : public CDialogImpl<CDialog>,
                public CAboutBoxSiteImpl<CDialog>,
                public CReticleSiteImpl<CDialog>,
                public CEnumDisplayMonitors,
                public CEnumTopLevelWindows,
                public CTargetWatcherSite,
                public CMessageFilter,
                public CIdleHandler {
public:
    UINT m_nDialogId = 0;
    // The scale the dialog is shown at.
    UINT m_nDpi = USER_DEFAULT_SCREEN_DPI;
    CAcceleratorOwner m_hAccel;
    CMonitorList m_monitorList;
    CWindowList m_windowList;
    CCoordValue m_coordValues[4];
    MONITORINFO m_monitorInfo;
    HWND m_hwndTarget = nullptr;
    WINDOWINFO m_targetInfo;
    RECT m_rcDefault = {};
    RECT m_rcRestore = {};
    // The reticle's image: the cursor itself, or a colour copy of it when the
    // static would not take the cursor or the face colour would hide its black.
    CCursorOwner m_hReticleCursor;
    CIconOwner m_hReticleIcon;
    CTargetWatcher m_targetWatcher{this};
    CTargetMove m_targetMove{*this};
    CProcessRights m_processRights;
    // Apply shows the shield: it starts the program again with more rights.
    bool m_bApplyElevates = false;
    // The move handed over by the instance that started this one, if any.
    HandOver m_handOver;
    bool m_bHandOver = false;
    // A display the list could not take: falling back to another is then audible.
    bool m_bMonitorLeftOut = false;
    // Why the start-up failed, when it did.
    HRESULT m_hrInit = S_OK;

    // The measurement behind m_rcDefault, made once per process.
    static WINDOWINFO s_defaultWindowInfo;

    CDialog();
    ~CDialog() override;

    // The message map and the dialog-level commands (dialog.cpp).
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD dwMsgMapID) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnIdle() override { return FALSE; }

    // The two lists and the selection (dialog_lists.cpp).
    BOOL OnEnumMonitor(HMONITOR hMonitor) override;
    BOOL OnEnumWindow(HWND hWnd) override;
    void OnTargetLocationChange() override;
    BOOL Refresh();
    BOOL LoadMonitorList();
    BOOL LoadWindowList();
    void SelectTarget(HWND hWnd);
    void DropTarget();
    void FollowListSelection();

    // The fields, presets and anchors (dialog_fields.cpp).
    void ResetTargetControls();
    RECT GetFieldRect() const;
    BOOL ExchangeTargetRect(BOOL bSave);
    // bKeepEdits: a field edited since the program last wrote it keeps its text.
    void ShowTargetRect(bool bKeepEdits);
    void EnableTargetControls();
    void EnableControl(int nId, BOOL bEnable);
    void EnableAnchors(BOOL bEnable);
    void UpdateRestore(bool bMayDisable);
    LRESULT OnSpinDelta(const NMUPDOWN* pnmud);

    // The move (target_move.cpp).
    BOOL MoveTarget(MoveKind kind);

    // Moves that need more rights (dialog_rights.cpp).
    void UpdateApplyShield();
    void SetApplyShield(bool bElevates);
    void TakeHandOver();

    // Start-up and layout (dialog_startup.cpp).
    void MeasureDefaultRect();
    void SnapAnchorGrid();

private:
    // dialog.cpp
    bool OnCommand(WORD wId, WORD wCode);
    bool OnNotify(const NMHDR* pnmh, LRESULT& lResult);
    void OnDestroy();
    void OnContextMenu(HWND hWndClicked, LPARAM lParam);
    bool IsOnListHeader(POINT pt, bool bKeyboard) const;
    // dialog_lists.cpp
    LRESULT OnWindowListItemChanged(const NMLISTVIEW* pnmlv);
    // dialog_fields.cpp
    BOOL OnPresetCommand(int nId);
    // target_move.cpp
    void OnApply();
    void OnRestore();
    // dialog_rights.cpp
    void ApplyElevated();
    // dialog_startup.cpp
    LRESULT OnInitDialog();
    bool InitDialog();
    void SetIcons();
    bool SubclassControls();
    bool MakeElevatedTitle();
    bool RunDialogInitData();
    void CentreOnWorkArea();
    void CentreOverPrevious(HWND hWndChild);
    void AddAboutItem();
    // dialog_finder.cpp
    void SetUpReticle();
    void ShowReticleImage();
    // dialog_scale.cpp
    void OnDpiChanged(UINT nDpi, const RECT* prcSuggested);
    void Rescale();
    void OnSysColorChange();
};
