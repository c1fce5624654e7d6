// The conversion of the whole stored model between SI and gravitational
// units: forces, moments, load intensities and spring constants by the
// gravity constant, the elastic moduli E and G by 10; coordinates, lengths
// and section dimensions stay as they are.
#pragma once

#include "platform/Database.h"

// Converts every table of the model on `db` in one transaction: all of it or,
// when a write fails (the failure is passed on), nothing. `toSI` converts from
// gravitational to SI units (forces times `gravity`, moduli times 10), else
// the other way. The basic data row is not touched.
void ConvertModelUnits(dao::Database& db, bool toSI, double gravity);
