#pragma once

#include <string>

#include "core/control_binding.h"

namespace zelmora {

struct TWorkArea {
  int Width = 0;
  int Height = 0;
  // Thread: any
  bool operator==(const TWorkArea&) const = default;
};

// Every control and voice that the settings object writes or reads, one
// binding each, named after the control where there is one. Unbound, each
// keeps its value by itself (see TBinding).
struct TConfigControls {
  // Main window.
  TBinding<std::string> sPanel1;          // tempo display, "020".."416"
  TBinding<int> sTrackBarTempo;           // tempo fader; position = -tempo
  TBinding<int> sTrackBarVol;             // main volume fader; position = -Volume
  TBinding<bool> Bellsound1;              // "Bell sound" menu check mark
  TBinding<bool> MainWindowTopmost;       // main window stays above others
  TBinding<bool> sButton2OwnFont;         // tap button shows tap mode
  TBinding<bool> lblTapVisible;           // "TAP" label
  TBinding<std::string> slblTimeSignNum;  // beat count of the bar
  TBinding<std::string> scmbMeterNum;     // meter box text
  TBinding<bool> mnuBeatIndicator;        // "Beat Panel" menu check mark
  TBinding<int> MainWindowLeft;           // current placement, read at the save
  TBinding<int> MainWindowTop;
  TBinding<TWorkArea> WorkArea;  // desktop area free of panels

  // Beat panel.
  TBinding<bool> BeatPanelTopmost;

  // Preferences dialog.
  TBinding<int> sTrackBarRegDif;  // regular beat level, -2100..0
  TBinding<int> strbBellVolume;   // bell level, -2100..0
  TBinding<int> sTrackBarPan;     // pan, -5000..5000
  TBinding<bool> chkBoostVolume;
  TBinding<bool> sckbStayOnTop;
  TBinding<std::string> OpenDialogAcc;  // last WAV file chosen for the accent
  TBinding<std::string> OpenDialogReg;  // last WAV file chosen for the regular beat
  // Written: the stored selection, applied when the lists are filled.
  // Read: the list's selected index, -1 when none.
  TBinding<int> sComboBoxAcc;
  TBinding<int> sComboBoxReg;
  TBinding<int> strkbHue;                 // skin hue offset slider
  TBinding<int> strkbVisualOffset;        // visual offset slider, ms
  TBinding<std::string> cmbOutputDevice;  // the chosen output's name

  // Voices, which receive the negated pan.
  TBinding<int> BellVoicePan;
  TBinding<int> AccentVoicePan;
  TBinding<int> RegularVoicePan;
  // The sound card, which plays on the output of that name.
  TBinding<std::string> AudioOutput;
};

}  // namespace zelmora
