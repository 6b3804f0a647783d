// The campaign's window types and lasting script functions, registered with the window
// manager once before the first dialog script runs.
#pragma once

class TWindowManager;

void RegisterCampaignVocabulary(TWindowManager& manager);
