// The window types of the high-score screens: "HiscoreWindow", "HiscoreSubmit" and
// "RHiScoreInfo". The program registers them once, before the dialog scripts run.
#pragma once

class TWindowManager;

void RegisterHiscoreVocabulary(TWindowManager& manager);
