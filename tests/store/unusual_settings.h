#pragma once

#include "core/config.h"

namespace zelmora::testing {

// Gives every stored setting a value that differs from its default and
// from what a fresh settings object holds, set the way the program sets
// it, so that a value lost on the way shows.
inline void ApplyUnusualSettings(TConfig& config) {
  TConfigControls& controls = config.Controls;
  config.SetTempo(187);
  config.SetBeatPattern("X-xX");
  config.SetBell(true);
  config.SetBoostVolume(true);
  controls.OpenDialogReg->SetValue("/snd/régulier.wav");
  controls.OpenDialogAcc->SetValue("/snd/accent, loud.wav");
  controls.sComboBoxReg->SetValue(5);
  controls.sComboBoxAcc->SetValue(-1);
  config.MainLeft = -1920;
  config.MainTop = 40;
  controls.mnuBeatIndicator->SetValue(true);
  config.BigPanelLeft = 1200;
  config.BigPanelTop = -30;
  config.BigPanelWidth = 321;
  config.BigPanelHeight = 123;
  controls.strkbHue->SetValue(-100);
  config.SetVolume(-1200);
  config.SetVolumeRegularDif(-300);
  config.SetBellVolume(-1500);
  config.SetPan(2500);
  config.SetVisualOffset(-35);
  config.SetSubdivision(3);
  config.SetSwing(67);
  config.SetSubdivisionVolume(-700);
  config.SetSubdivisionSound(2, "/snd/sub.wav");
  config.SetLayerClicks(5);
  config.SetLayerVolume(-300);
  config.SetLayerSound(-1, "/snd/layer.wav");
  config.SetCountInBars(2);
  config.SetTrainer(true);
  config.SetTrainerStart(100);
  config.SetTrainerTarget(90);
  config.SetTrainerStep(5);
  config.SetTrainerEveryBars(8);
  config.SetTrainerAtTarget(1);
  config.SetGapPlayBars(3);
  config.SetGapMuteBars(2);
  config.SetGapRandomPercent(25);
  config.SetPracticeMinutes(10);
  config.SetOutputDevice("ALSA: USB Audio: Headphones (hw:1,0)");
}

}  // namespace zelmora::testing
