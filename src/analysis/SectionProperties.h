// Properties of the sections given by shape type and dimensions (材料定数2).
#pragma once

// The five dimensions in cm (the stored millimetres divided by 10).
struct ShapeDimensions {
    double d1 = 0, d2 = 0, d3 = 0, d4 = 0, d5 = 0;
};

struct SectionValues {
    double A = 0;    // cm2
    double J = 0;    // torsion constant, cm4
    double Iyy = 0;  // cm4
    double Izz = 0;  // cm4
};

// π as the single-precision value the formulas are defined with.
constexpr double kSinglePi = 3.1415927410125732;

double CalcRectTorsionConstant(double a, double b);
double CalcPolarMoment(double D);

SectionValues CalcRectangleSection(const ShapeDimensions& d);   // type 1
SectionValues CalcHSection(const ShapeDimensions& d);           // type 2
SectionValues CalcHSectionTurned(const ShapeDimensions& d);     // type 3
SectionValues CalcBoxSection(const ShapeDimensions& d);         // type 4
SectionValues CalcPipeSection(const ShapeDimensions& d);        // type 5
SectionValues CalcRoundBarSection(const ShapeDimensions& d);    // type 6

// The values of a section of the given type. Returns false for a type
// outside 1 to 6 and for dimensions that make a divisor zero or a result
// not finite (the loader refuses such a section).
bool CalcShapeSection(int type, const ShapeDimensions& d, SectionValues* out);
