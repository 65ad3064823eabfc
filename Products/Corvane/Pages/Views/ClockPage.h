#pragma once
// The clock page: the PC's clock beside the device's real-time clock, with
// the device clock set at once (no device block): synchronised to the PC in
// one step, or its UTC date and time, time zone and daylight saving one by
// one. Both clocks are redrawn once a second while the page is active.

#include "Common/Skin/ZellButton.h"
#include "Platform/Framework/Controls/ComboBox.h"
#include "Platform/Framework/Controls/DateTimeCtrl.h"
#include "Products/Corvane/Pages/Codecs/ClockCodec.h"
#include "Products/Corvane/Pages/Views/TextedSettingsPage.h"

#include <functional>
#include <map>

namespace Corvane {

class CClockPage : public CTextedSettingsPage {
public:
    // The page's key, by which the page table, the texts and the capability file name it.
    static constexpr wchar_t kPageKey[] = L"CLOCK";
    static constexpr UINT_PTR kRefreshTimer = 1;
    static constexpr UINT kRefreshMs = 1000;

    CClockPage();

    BOOL OnSetActive() override;
    BOOL OnKillActive() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void SetUpControls() override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind);
    void OnTimer(UINT_PTR id);
    void OnTimeChange();
    void OnSynchronise();
    void OnDaylightBoxClicked();
    void OnDaylightLabelClicked();
    void OnZoneListDropDown();
    void OnZoneChanged();
    void OnDateDropDown(NMHDR* header, LRESULT* result);
    void OnDateCloseUp(NMHDR* header, LRESULT* result);
    void OnDateChanged(NMHDR* header, LRESULT* result);
    void OnTimeKeyDown(NMHDR* header, LRESULT* result);
    void OnTimeChanged(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    using tDateTime = CServiceBase::tDateTime;

    void ApplyTexts() override;
    void SetLabelColour(int id, COLORREF colour);
    void EnableDeviceClock(bool on);
    void EnableDeviceControls(bool on);
    void ShowPcClock();
    void ReadDeviceClock();
    void ShowDaylightSupport(const tDateTime& record);
    void ShowDeviceTime(const tDateTime& record);
    // Reads the device record, lets `change` replace one field and writes
    // it back; false when either call failed.
    bool WriteDeviceField(const std::function<void(tDateTime&)>& change);
    void WriteDaylightSaving();
    void WritePickerTime();
    void ShowFailure(const wchar_t* formatKey);
    CClockCodec::CDateTime PickerDateTime() const;
    void SetPickers(const CClockCodec::CDateTime& value);

    ZELL::Skin::CZellButton m_SyncButton;
    CComboBox m_ZoneList;
    CDateTimeCtrl m_DatePicker;
    CDateTimeCtrl m_TimePicker;
    std::map<int, COLORREF> m_mapLabelColours;
    bool m_bDeviceControlsEnabled = false;
    bool m_bDateEditing = false;
    bool m_bTimeEditing = false;
    bool m_bZoneEditing = false;
    bool m_bHasDaylightSaving = false;
    bool m_bDaylightSavingOn = false;
};

}  // namespace Corvane
