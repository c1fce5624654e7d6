// The version-information box and the information-page window.
#pragma once

void ShowAboutBox();
void ShowInfoPage();
