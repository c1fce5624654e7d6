// The fields of the result tables an analysis fills, in the order the test
// projects write and change their rows.
#pragma once

#include <QStringList>

namespace testenv {

// Analyze部材応力 and Analyze等価節点荷重: case, member, the i node and its six
// values, the j node and its six values, the moments at the centre.
inline const QStringList kMemberEndFields = {"Case", "No_", "iTan", "iN", "iQy", "iQz", "iMx", "iMy", "iMz",
                                             "jTan", "jN", "jQy", "jQz", "jMx", "jMy", "jMz", "cMy", "cMz"};

// Analyze節点変位.
inline const QStringList kDisplacementFields = {"Case", "No_", "⊿X", "⊿Y", "⊿Z", "⊿θx", "⊿θy", "⊿θz"};

// Analyze支点反力.
inline const QStringList kReactionFields = {"Case", "No_", "PX", "PY", "PZ", "MX", "MY", "MZ"};

}  // namespace testenv
