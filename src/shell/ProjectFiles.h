// Project open and save through LZH archives.
#pragma once

void OpenProject();
void SaveProject();
