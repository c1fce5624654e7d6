// The mid-span moment a load case contributes to a combination.
//
// The analysis stores a mid-span moment of exactly 0 for a member that has no
// member load in that bending plane: its moment line is then straight, and
// the moment at mid-span is the midpoint of its end moments. Combining the
// stored 0 itself would take that straight line for a zero moment.
#pragma once

namespace report {

// The bending plane of a moment: about the member's y axis (iMy, jMy, cMy)
// or its z axis (iMz, jMz, cMz).
enum class MomentAxis { Y, Z };

// The mid-span moment of one case in the sign convention of the stored
// mid-span moments: the stored value where it is not exactly 0, otherwise
// (jMy − iMy)/2 about y and (iMz − jMz)/2 about z.
inline float MidSpanMomentOfCase(MomentAxis axis, float iMoment, float jMoment, float midSpan)
{
    if (midSpan != 0.0f) return midSpan;
    return axis == MomentAxis::Y ? (jMoment - iMoment) / 2.0f : (iMoment - jMoment) / 2.0f;
}

}  // namespace report
