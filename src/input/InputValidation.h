// The input checks of the screens. Each reads
// the entry boxes of its screen's one window instance, stops at the first
// failure with its message and returns false; some write defaults back.
#pragma once

void ShowInvalidInputMessage(bool& result);

bool CheckBasicDataInput();
bool CheckNodeInput();
bool CheckMaterial1Input(float commonE, float commonG);
bool CheckMaterial2Input(float commonE, float commonG);
bool CheckElementInput();
bool CheckRestraintShapeInput();
bool CheckRestraintPlacementInput();
bool CheckEndShapeInput();
bool CheckEndPlacementInput();
bool CheckLoadShapeInput();
bool CheckLoadPlacementInput();
