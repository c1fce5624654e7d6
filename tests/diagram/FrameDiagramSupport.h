// Frame diagram tests: a project database with a model, the window opened as
// the list screens open it, and the operations of the drawn page by kind.
#pragma once

#include "common/Values.h"
#include "diagram/FrameDiagramWindow.h"
#include "input/InputControls.h"
#include "input/InputTestSupport.h"
#include "platform/preview/PreviewWidget.h"
#include "screens/ScreenTestSupport.h"

#include <QCheckBox>
#include <QLineEdit>
#include <gtest/gtest.h>

#include <vector>

namespace frametest {

using testenv::I;
using testenv::S;
using testenv::T;

struct Node {
    int no;
    double x, y, z;
};
struct Member {
    int no, i, j, shape;
};

inline void AddNodes(const std::vector<Node>& nodes)
{
    std::vector<std::vector<rt::Variant>> rows;
    int order = 0;
    for (const Node& n : nodes) rows.push_back({I(n.no), S(n.x), S(n.y), S(n.z), I(++order)});
    inputtest::AppendRows(QStringLiteral("節点座標1"), {"No_", "X", "Y", "Z", "順"}, rows);
}

inline void AddMembers(const std::vector<Member>& members)
{
    std::vector<std::vector<rt::Variant>> rows;
    int order = 0;
    for (const Member& m : members) rows.push_back({I(m.no), I(m.i), I(m.j), I(m.shape), I(++order)});
    inputtest::AppendRows(QStringLiteral("要素情報"), {"No_", "iTan", "jTan", "材料番号", "順"}, rows);
}

// The portal frame: two columns 4 high, 6 apart, joined by a beam.
inline void AddPortalFrame()
{
    AddNodes({{1, 0, 0, 0}, {2, 0, 0, 4}, {3, 6, 0, 4}, {4, 6, 0, 0}});
    AddMembers({{1, 1, 2, 1}, {2, 2, 3, 2}, {3, 3, 4, 1}});
}

// The largest model the input allows: a building of 10 x 6 bays' grid lines
// (6 m in X, 5 m in Y) on 5 levels 3.5 m apart, 300 nodes numbered level by
// level, and 500 members: 240 columns (shape 1), 216 beams in X (shape 2)
// and 44 beams in Y (shape 3) on the end frames and the roof.
inline void AddBuilding()
{
    std::vector<Node> nodes;
    auto number = [](int i, int j, int level) { return level * 60 + j * 10 + i + 1; };
    for (int level = 0; level < 5; ++level)
        for (int j = 0; j < 6; ++j)
            for (int i = 0; i < 10; ++i) nodes.push_back({number(i, j, level), 6.0 * i, 5.0 * j, 3.5 * level});
    std::vector<Member> members;
    auto add = [&](int a, int b, int shape) { members.push_back({static_cast<int>(members.size()) + 1, a, b, shape}); };
    for (int level = 0; level < 4; ++level)
        for (int j = 0; j < 6; ++j)
            for (int i = 0; i < 10; ++i) add(number(i, j, level), number(i, j, level + 1), 1);
    for (int level = 1; level < 5; ++level)
        for (int j = 0; j < 6; ++j)
            for (int i = 0; i < 9; ++i) add(number(i, j, level), number(i + 1, j, level), 2);
    for (int level = 1; level < 5; ++level)
        for (int i : {0, 9})
            for (int j = 0; j < 5; ++j) add(number(i, j, level), number(i, j + 1, level), 3);
    for (int i = 1; i < 5; ++i) add(number(i, 0, 4), number(i, 1, 4), 3);
    AddNodes(nodes);
    AddMembers(members);
}

// A placement row: type(s) and up to ten targets.
inline void AddRestraintType(int no, const QStringList& six)
{
    std::vector<rt::Variant> row = {I(no)};
    for (const QString& t : six) row.push_back(T(t));
    row.push_back(I(no));
    inputtest::AppendRows(QStringLiteral("節点拘束形状"), {"No_", "u", "v", "w", "θx", "θy", "θz", "順"}, {row});
}

inline void AddEndType(int no, const QStringList& three)
{
    inputtest::AppendRows(QStringLiteral("要素端部形状"),
                          {"No_", "xHKU", "yHKU", "zHKU", "xMWR", "yMWR", "zMWR", "順"},
                          {{I(no), T("剛"), T("剛"), T("剛"), T(three[0]), T(three[1]), T(three[2]), I(no)}});
}

inline void AddPlacement(const QString& table, int no, const std::vector<int>& types, const std::vector<int>& targets)
{
    QStringList fields = {"No_"};
    std::vector<rt::Variant> row = {I(no)};
    const QStringList typeFields = table == QStringLiteral("節点拘束配置") ? QStringList{"拘束形状"}
                                                                         : QStringList{"i端部形状", "j端部形状"};
    for (int k = 0; k < typeFields.size(); ++k) {
        fields << typeFields[k];
        row.push_back(I(types[static_cast<size_t>(k)]));
    }
    fields << testenv::SlotFields(10) << "順";
    for (int k = 0; k < 10; ++k) row.push_back(I(k < static_cast<int>(targets.size()) ? targets[static_cast<size_t>(k)] : 0));
    row.push_back(I(no));
    inputtest::AppendRows(table, fields, {row});
}

// The window as the list screens' button opens it.
inline frmラーメン図* OpenDiagram()
{
    auto* w = dynamic_cast<frmラーメン図*>(ScreenInstance(QStringLiteral("frmラーメン図")));
    EXPECT_NE(w, nullptr);
    if (w) w->Show();
    return w;
}

inline const std::vector<preview::DrawOp>& PageOps(const frmラーメン図* w)
{
    static const std::vector<preview::DrawOp> none;
    const preview::Document& doc = w->vsp->CurrentDocument();
    return doc.pages.empty() ? none : doc.pages[0].ops;
}

inline std::vector<preview::DrawOp> OpsOf(const frmラーメン図* w, preview::OpKind kind)
{
    std::vector<preview::DrawOp> out;
    for (const preview::DrawOp& op : PageOps(w))
        if (op.kind == kind) out.push_back(op);
    return out;
}

// The texts of the page's text boxes in drawing order.
inline QStringList LabelTexts(const frmラーメン図* w)
{
    QStringList texts;
    for (const preview::DrawOp& op : OpsOf(w, preview::OpKind::TextBox)) texts << op.text;
    return texts;
}

inline QString BoxText(const frmラーメン図* w, const char* name) { return w->ViewBox(QString::fromUtf8(name))->text(); }
inline void SetBox(frmラーメン図* w, const char* name, const QString& text)
{
    w->ViewBox(QString::fromUtf8(name))->setText(text);
}

}  // namespace frametest
