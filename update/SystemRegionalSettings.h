#pragma once
// Reads the regional settings from the system (the main thread's locale, through GetLocaleInfoA) and makes
// them the settings in force. Called at start-up and on the system's settings notices. Windows only.
void LoadSystemRegionalSettings();
