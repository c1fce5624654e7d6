#include "analysis/SectionProperties.h"

#include <algorithm>
#include <cmath>
#include <utility>

double CalcRectTorsionConstant(double a, double b)
{
    double s, t;
    if (a > b) { s = a; t = b; } else { s = b; t = a; }
    const double r = t / s;
    return s * t * t * t / 3.0 * (1.0 - 0.63 * r + 0.052 * std::pow(r, 5));
}

double CalcPolarMoment(double D) { return D * D * D * D * kSinglePi / 32.0; }

SectionValues CalcRectangleSection(const ShapeDimensions& d)
{
    SectionValues v;
    v.A = d.d2 * d.d1;
    v.J = CalcRectTorsionConstant(d.d1, d.d2);
    v.Izz = d.d2 * d.d2 * d.d2 * d.d1 / 12.0;
    v.Iyy = d.d1 * d.d1 * d.d1 * d.d2 / 12.0;
    return v;
}

SectionValues CalcHSection(const ShapeDimensions& d)
{
    const double H = d.d1, B = d.d2, tw = d.d3, tf = d.d4, r = d.d5;
    SectionValues v;
    v.A = H * B - (H - 2 * tf) * (B - tw) + 0.8584 * r * r;
    v.J = 2 * CalcRectTorsionConstant(B, tf) + CalcRectTorsionConstant(H - 2 * tf, tw);
    v.Izz = (2 * tf * B * B * B + (H - 2 * tf) * tw * tw * tw) / 12.0 + 0.03 * std::pow(r, 4)
            + 0.8584 * r * r * std::pow(tw / 2 + 0.2234 * r, 2);
    v.Iyy = (B * H * H * H - (B - tw) * std::pow(H - 2 * tf, 3)) / 12.0 + 0.03 * std::pow(r, 4)
            + 0.8584 * r * r * std::pow(H / 2 - tf - 0.2234 * r, 2);
    return v;
}

SectionValues CalcHSectionTurned(const ShapeDimensions& d)
{
    SectionValues v = CalcHSection(d);
    std::swap(v.Iyy, v.Izz);
    return v;
}

SectionValues CalcBoxSection(const ShapeDimensions& d)
{
    const double d1 = d.d1, d2 = d.d2, t = d.d3, r = d.d4;
    SectionValues v;
    if (r == 0) {
        v.A = d2 * d1 - (d2 - 2 * t) * (d1 - 2 * t);
        v.Izz = (std::pow(d2, 3) * d1 - std::pow(d2 - 2 * t, 3) * (d1 - 2 * t)) / 12.0;
        v.Iyy = (std::pow(d1, 3) * d2 - std::pow(d1 - 2 * t, 3) * (d2 - 2 * t)) / 12.0;
    } else {
        // W, a and b are held as Single values, as the corner formulas were fitted with.
        const double W = static_cast<float>(2 * (t + r));
        const double w = 2 * r;
        const double a = static_cast<float>(d1 - W);
        const double b = static_cast<float>(d2 - W);
        const double Ac = 0.7854 * (W * W - w * w);
        const double e = (W * W * W - w * w * w) / (4.7124 * (W * W - w * w));
        const double Io = (std::pow(W, 4) - std::pow(w, 4)) / 72.85 - (W - w) * w * w * W * W / (28.25 * (W + w));
        v.A = 2 * t * b + 2 * t * a + Ac;
        v.Izz = (std::pow(d2, 3) - std::pow(d2 - 2 * t, 3)) * a / 12.0 + t * b * b * b / 6.0 + Io + Ac * std::pow(b / 2 + e, 2);
        v.Iyy = (std::pow(d1, 3) - std::pow(d1 - 2 * t, 3)) * b / 12.0 + t * a * a * a / 6.0 + Io + Ac * std::pow(a / 2 + e, 2);
    }
    // A closed tube carries torsion by its shear flow (Bredt): the walls are
    // not open strips. The corner radius does not enter.
    v.J = 2 * t * std::pow(d1 - t, 2) * std::pow(d2 - t, 2) / (d1 + d2 - 2 * t);
    return v;
}

SectionValues CalcPipeSection(const ShapeDimensions& d)
{
    const double D = d.d1, t = d.d2, Di = D - 2 * t;
    SectionValues v;
    v.A = 0.7854 * (D * D - Di * Di);
    v.J = CalcPolarMoment(D) - CalcPolarMoment(Di);
    v.Iyy = 0.049087 * (std::pow(D, 4) - std::pow(Di, 4));
    v.Izz = v.Iyy;
    return v;
}

SectionValues CalcRoundBarSection(const ShapeDimensions& d)
{
    const double D = d.d1;
    SectionValues v;
    v.A = (D / 2) * (D / 2) * kSinglePi;
    v.J = CalcPolarMoment(D);
    v.Iyy = 0.049087 * std::pow(D, 4);
    v.Izz = v.Iyy;
    return v;
}

bool CalcShapeSection(int type, const ShapeDimensions& d, SectionValues* out)
{
    // Divisors of the formulas: a zero one has no meaningful section behind it.
    switch (type) {
    case 1:
        if (std::max(d.d1, d.d2) == 0) return false;
        *out = CalcRectangleSection(d);
        break;
    case 2:
    case 3:
        if (std::max(d.d2, d.d4) == 0 || std::max(d.d1 - 2 * d.d4, d.d3) == 0) return false;
        *out = type == 2 ? CalcHSection(d) : CalcHSectionTurned(d);
        break;
    case 4: {
        if (d.d1 + d.d2 - 2 * d.d3 == 0) return false;
        if (d.d4 != 0) {
            const double W = static_cast<float>(2 * (d.d3 + d.d4)), w = 2 * d.d4;
            if (W * W - w * w == 0 || W + w == 0) return false;
        }
        *out = CalcBoxSection(d);
        break;
    }
    case 5:
        *out = CalcPipeSection(d);
        break;
    case 6:
        *out = CalcRoundBarSection(d);
        break;
    default:
        return false;
    }
    return std::isfinite(out->A) && std::isfinite(out->J) && std::isfinite(out->Iyy) && std::isfinite(out->Izz);
}
