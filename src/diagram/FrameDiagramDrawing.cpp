// The drawing of the frame diagram window: the model read from the database,
// projected with the view of the boxes, fitted to the page or placed by the
// zoom and offset boxes, and drawn as lines with end dots, number labels in
// white boxes and the axis indicator.
#include "diagram/FrameDiagramWindow.h"

#include "core/ProgramState.h"
#include "database/WorkingFiles.h"
#include "diagram/FrameSearchLists.h"
#include "platform/Ui.h"
#include "platform/preview/PreviewWidget.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>

#include <cmath>
#include <unordered_set>

using namespace diagram;

namespace {

using preview::kBlack;
using preview::kWhite;
constexpr double kEndDotRadius = 25;
constexpr double kNodeMarkRadius = 60;

const QString kNoNodesQuestion = QStringLiteral("節点データが入力されていません。ラーメン図の作成を終了しますか？");
const QString kNoMembersQuestion = QStringLiteral("部材データが入力されていません。ラーメン図の作成を終了しますか？");
const QString kDrawingFailedQuestion = QStringLiteral(
    "ラーメン図を作成中にエラーが発生しました。ラーメン図の作成を終了しますか？\r\n"
    "入力データが正しく作成されているか確認してみて下さい。");

bool Finite(float a, float b) { return std::isfinite(a) && std::isfinite(b); }

// The number in a box read leniently: its leading number, 0 when none.
float Lenient(const QLineEdit* box) { return static_cast<float>(rt::Val(box->text())); }

}  // namespace

// The error rule of one drawing. A step that fails asks whether to stop, as
// long as the last answer was No; any other answer stops at once. A step
// asks once: on No it goes on with what it can still do, leaving out what
// failed. Stopping takes the closing path.
class frmラーメン図::DrawingRun {
public:
    explicit DrawingRun(frmラーメン図& window) : w_(window) {}

    bool stopped = false;

    // Runs one step; false when the drawing stops.
    bool Step(const std::function<Status()>& body)
    {
        BeginStep();
        try {
            const Status s = body();
            if (!s) Fail(s.error());
        } catch (const rt::Error& e) {
            Fail(e.description());
        } catch (const std::exception& e) {
            Fail(QString::fromLocal8Bit(e.what()));
        }
        return !stopped;
    }

    void BeginStep() { askedInStep_ = false; }

    // A failure within the current step; false when the drawing stops.
    bool Fail(const QString& reason)
    {
        w_.drawFailures_ << reason;
        if (stopped) return false;
        if (askedInStep_) return true;
        askedInStep_ = true;
        if (Program().MsgResult == ui::Answer::No) {
            ui::Beep();
            Program().MsgResult = static_cast<int16_t>(
                ui::MsgBox(kDrawingFailedQuestion, ui::Buttons::YesNo | ui::Icon::Question, AppTitle));
            if (Program().MsgResult == ui::Answer::No) return true;
        }
        stopped = true;
        return false;
    }

    // A question of the drawing's own; false when the user chose to stop.
    bool Ask(const QString& question)
    {
        ui::Beep();
        Program().MsgResult =
            static_cast<int16_t>(ui::MsgBox(question, ui::Buttons::YesNo | ui::Icon::Question, AppTitle));
        if (Program().MsgResult == ui::Answer::Yes) stopped = true;
        return !stopped;
    }

private:
    frmラーメン図& w_;
    bool askedInStep_ = false;
};

void frmラーメン図::cmdDRAW_Click()
{
    if (drawing_ || !IsLoaded()) return;
    drawing_ = true;
    ++drawingCount_;
    drawFailures_.clear();
    QWidget* focus = QApplication::focusWidget();
    if (focus && focus->window() != this) focus = nullptr;
    SetEnabledState(false);
    SetBusyPointer(true);
    Program().MsgResult = ui::Answer::No;

    DrawingRun run(*this);
    const bool drawn = DrawModel(run);
    if (!drawn) {
        TakeClosingPath();
        drawing_ = false;
        return;
    }
    SetBusyPointer(false);
    SetEnabledState(true);
    drawing_ = false;
    if (focus) focus->setFocus();
}

void frmラーメン図::TakeClosingPath()
{
    vsp->DiscardDocument();
    SetBusyPointer(false);
    SetEnabledState(true);
    try {
        screenPoints_.clear();
        Unload();
    } catch (...) {
    }
}

bool frmラーメン図::DrawModel(DrawingRun& run)
{
    // The view matrix of the boxes; a view that cannot be built keeps the last one.
    if (!run.Step([&] {
            const Outcome<ViewPoints> points = ReadViewPoints(CurrentViewBoxes());
            if (!points) return Status::Failure(points.error());
            const Outcome<ViewMatrix> matrix = BuildViewMatrix(*points);
            if (!matrix) return Status::Failure(matrix.error());
            Program().ViewMatrix = *matrix;
            return Succeeded();
        }))
        return false;

    std::vector<NodeCoordinate> nodes;
    if (!ReadNodes(run, nodes)) return false;

    // Offsets in twips and the zoom, from the boxes read leniently.
    float offsetX = 0, offsetY = 0, zoom = 0;
    if (!run.Step([&] {
            offsetX = Lenient(ViewBox(QStringLiteral("txtX"))) * kTwipsPerMm;
            offsetY = Lenient(ViewBox(QStringLiteral("txtY"))) * kTwipsPerMm;
            zoom = Lenient(ViewBox(QStringLiteral("txtzoom"))) * static_cast<float>(DiagramBaseScale);
            if (!Finite(offsetX, offsetY) || !std::isfinite(zoom))
                return Status::Failure(QStringLiteral("the offset or zoom boxes are out of range"));
            return Succeeded();
        }))
        return false;

    // The node maps and the points of the view, relative to the model's minimum corner.
    ProgramState& state = Program();
    state.NodeNo.clear();
    state.NodeRow.fill(-1);
    NodeLastRow = nodes.empty() ? 0 : static_cast<int>(nodes.size()) - 1;
    std::vector<HomogeneousRow> points(nodes.size());
    std::vector<bool> valid(nodes.size(), false);
    if (!run.Step([&] {
            for (size_t r = 0; r < nodes.size(); ++r) {
                const NodeCoordinate& n = nodes[r];
                state.NodeNo.push_back(n.no);
                if (n.no >= 0 && n.no <= kLargestNode) {
                    state.NodeRow[static_cast<size_t>(n.no)] = static_cast<int16_t>(r);
                } else if (!run.Fail(QStringLiteral("node %1 is outside 0..%2").arg(n.no).arg(kLargestNode))) {
                    return Succeeded();
                }
                points[r] = ViewRow(n.x - state.ModelMinCorner[0], n.y - state.ModelMinCorner[1],
                                    n.z - state.ModelMinCorner[2]);
                valid[r] = std::isfinite(points[r][0]) && std::isfinite(points[r][1]) && std::isfinite(points[r][2]);
                if (!valid[r] && !run.Fail(QStringLiteral("node %1 lies beyond single precision").arg(n.no)))
                    return Succeeded();
            }
            return Succeeded();
        }))
        return false;

    if (!ReadMembers(run, nodes)) return false;

    if (!run.Step([&] {
            PlaceNodes(run, points, valid, offsetX, offsetY, zoom);
            return Succeeded();
        }))
        return false;

    vsp->StartDocument();
    vsp->SetBrushColor(kBlack);
    vsp->SetPenColor(kBlack);
    vsp->SetPenWidth(0);
    for (const MemberRowData& m : members_) DrawMember(m.no);
    vsp->SetBrushColor(kWhite);
    DrawLabels(run);
    if (run.stopped) return false;
    if (chkDrawCoord->isChecked() && !run.Step([&] { return Draw_Coordinates(zoom); })) return false;
    vsp->EndDocument();
    return true;
}

// The node table sorted by number, and the model's box from it; an empty
// table asks whether to stop.
bool frmラーメン図::ReadNodes(DrawingRun& run, std::vector<NodeCoordinate>& nodes)
{
    bool read = false;
    if (!run.Step([&] {
            EnsureDatabase();
            for (const auto& v : ReadRowsByNumber(*DiagramDatabase, QStringLiteral("節点座標1"), {"No_", "X", "Y", "Z"},
                                                  NodeRecordset))
                nodes.push_back({v[0].toInteger(), v[1].toSingle(), v[2].toSingle(), v[3].toSingle()});
            read = true;
            ModelBounds previous{Program().ModelMinCorner, Program().ModelMaxCorner, Program().ModelDiagonal};
            const ModelBounds b = ComputeModelBounds(nodes, previous);
            Program().ModelMinCorner = b.minCorner;
            Program().ModelMaxCorner = b.maxCorner;
            Program().ModelDiagonal = b.diagonal;
            return Succeeded();
        }))
        return false;
    if (read && nodes.empty()) return run.Ask(kNoNodesQuestion);
    return true;
}

// The member table sorted by number: the member maps and the rows of the
// drawing. A member whose end nodes are not all in the node table asks
// whether to stop; going on leaves its row empty.
bool frmラーメン図::ReadMembers(DrawingRun& run, const std::vector<NodeCoordinate>& nodes)
{
    std::vector<MemberRowData> rows;
    bool read = false;
    if (!run.Step([&] {
            EnsureDatabase();
            for (const auto& v : ReadRowsByNumber(*DiagramDatabase, QStringLiteral("要素情報"),
                                                  {"No_", "iTan", "jTan", "材料番号"}, MemberRecordset))
                rows.push_back({v[0].toInteger(), v[1].toInteger(), v[2].toInteger(), v[3].toInteger()});
            read = true;
            return Succeeded();
        }))
        return false;
    if (read && rows.empty() && !run.Ask(kNoMembersQuestion)) return false;

    ProgramState& state = Program();
    MemberLastRow = rows.empty() ? 0 : static_cast<int>(rows.size()) - 1;
    state.MemberNo.assign(rows.size(), 0);
    state.MemberRow.fill(-1);
    members_.assign(rows.size(), MemberRowData{});

    std::unordered_set<int> stored;
    for (const NodeCoordinate& n : nodes) stored.insert(n.no);
    run.BeginStep();
    for (size_t r = 0; r < rows.size(); ++r) {
        const MemberRowData& m = rows[r];
        if (!stored.count(m.iNode) || !stored.count(m.jNode)) {
            if (!run.Ask(MissingEndNodesQuestion(m.no, QStringLiteral("ラーメン図の作成を終了しますか？")))) return false;
            continue;
        }
        members_[r] = m;
        state.MemberNo[r] = m.no;
        if (m.no >= 0 && m.no <= kLargestMember)
            state.MemberRow[static_cast<size_t>(m.no)] = static_cast<int16_t>(r);
        else if (!run.Fail(QStringLiteral("member %1 is outside 0..%2").arg(m.no).arg(kLargestMember)))
            return false;
    }
    return true;
}

// Page positions of the nodes: fitted to the page when the zoom box holds -1
// (or when there is no base scale to read a zoom against), else placed by
// the zoom and offsets. A node that cannot be projected stays unplaced.
void frmラーメン図::PlaceNodes(DrawingRun& run, const std::vector<HomogeneousRow>& points,
                              const std::vector<bool>& valid, float offsetX, float offsetY, float& zoom)
{
    const ViewMatrix& m = Program().ViewMatrix;
    screenPoints_.assign(points.size(), ScreenPoint{});

    bool fit = DiagramBaseScale == 0;
    if (!fit) {
        try {
            fit = rt::Variant::Text(ViewBox(QStringLiteral("txtzoom"))->text()).toSingle() == -1;
        } catch (const rt::Error&) {
            if (!run.Fail(QStringLiteral("the zoom box is not a number"))) return;
            fit = true;
        }
    }

    std::vector<PlanePoint> plane(points.size());
    std::vector<bool> projected(points.size(), false);
    for (size_t r = 0; r < points.size(); ++r) {
        if (!valid[r]) continue;
        const Outcome<PlanePoint> p = ProjectRow(m, points[r]);
        if (!p) {
            if (!run.Fail(QStringLiteral("node %1: %2").arg(Program().NodeNo[r]).arg(p.error()))) return;
            continue;
        }
        plane[r] = *p;
        projected[r] = true;
    }

    if (fit) {
        offsetX = offsetY = kFitMargin;
        std::vector<PlanePoint> placed;
        for (size_t r = 0; r < points.size(); ++r)
            if (projected[r]) placed.push_back(plane[r]);
        const Outcome<PageFit> f = FitToPage(placed, static_cast<float>(vsp->PageWidth()),
                                             static_cast<float>(vsp->PageHeight()));
        if (f) {
            zoom = f->zoom;
            offsetX = f->offsetX;
            offsetY = f->offsetY;
            // The boxes show the fit from now on, in whole millimetres and
            // as a multiple of the base scale when there is one.
            ViewBox(QStringLiteral("txtX"))->setText(rt::Format(offsetX / kTwipsPerMm, QStringLiteral("0")));
            ViewBox(QStringLiteral("txtY"))->setText(rt::Format(offsetY / kTwipsPerMm, QStringLiteral("0")));
            const Outcome<float> relative = ZoomRelativeToBase(zoom, DiagramBaseScale);
            if (relative) ViewBox(QStringLiteral("txtzoom"))->setText(rt::Format(*relative, QStringLiteral("0")));
        } else if (!run.Fail(f.error())) {
            return;
        }
    }

    for (size_t r = 0; r < points.size(); ++r) {
        if (!projected[r]) continue;
        const float x = zoom * plane[r].x + offsetX, y = zoom * plane[r].y + offsetY;
        if (!Finite(x, y)) {
            if (!run.Fail(QStringLiteral("node %1 falls beyond the page's numbers").arg(Program().NodeNo[r]))) return;
            continue;
        }
        screenPoints_[r] = {x, y, true};
    }
}

void frmラーメン図::DrawLabels(DrawingRun& run)
{
    if (chkDrawJnt->isChecked()) {
        vsp->SetPenColor(kWhite);
        const std::vector<int16_t>& numbers = Program().NodeNo;
        for (size_t r = 0; r < screenPoints_.size() && r < numbers.size(); ++r) {
            const ScreenPoint& p = screenPoints_[r];
            if (!p.placed) continue;
            double w, h;
            const QString text = QString::number(numbers[r]);
            MeasureLabel(text, w, h);
            vsp->DrawTextBox(text, p.x + w / 2, p.y - h / 2, w, h, true);
        }
    }
    if (!chkDrawEle->isChecked()) return;
    vsp->SetPenColor(kWhite);
    run.Step([&] {
        for (const MemberRowData& m : members_) {
            const int ri = NodeRowOf(m.iNode), rj = NodeRowOf(m.jNode);
            if (ri < 0 || rj < 0) {
                if (!run.Fail(QStringLiteral("member %1 has no end nodes in the drawing").arg(m.no))) break;
                continue;
            }
            const ScreenPoint& a = screenPoints_[static_cast<size_t>(ri)];
            const ScreenPoint& b = screenPoints_[static_cast<size_t>(rj)];
            if (!a.placed || !b.placed) continue;   // reported where the node was placed
            double w, h;
            QString text = QString::number(m.no);
            MeasureLabel(text, w, h);
            vsp->DrawTextBox(text, (a.x + b.x - w) / 2, (a.y + b.y - h) / 2, w, h, true);
            text = QStringLiteral("[") + QString::number(m.shape) + QStringLiteral("]");
            MeasureLabel(text, w, h);
            vsp->DrawTextBox(text, (a.x + b.x - w) / 2, (a.y + b.y + h) / 2, w, h, true);
        }
        return Succeeded();
    });
}

void frmラーメン図::MeasureLabel(const QString& text, double& width, double& height)
{
    vsp->MeasureText(text);
    height = vsp->MeasuredTextHeight();
    width = vsp->MeasuredTextWidth();
}

Status frmラーメン図::Draw_Coordinates(float zoom)
{
    float size;
    try {
        size = rt::Variant::Text(ViewBox(QString::fromUtf8(diagram::kAxisSizeBox))->text()).toSingle() * Program().ModelDiagonal
               * 0.1f;
    } catch (const rt::Error&) {
        return Status::Failure(QStringLiteral("the indicator size is not a number"));
    }
    const float cx = Lenient(ViewBox(QStringLiteral("txtCoordX"))) * kTwipsPerMm;
    const float cy = Lenient(ViewBox(QStringLiteral("txtCoordY"))) * kTwipsPerMm;
    // The origin, then the tips of X, Y and Z.
    const auto rows = AxisRows(size);
    QPointF page[4];
    for (size_t k = 0; k < rows.size(); ++k) {
        const Outcome<PlanePoint> p = ProjectRow(Program().ViewMatrix, rows[k]);
        if (!p) return Status::Failure(QStringLiteral("axis indicator: ") + p.error());
        const float x = p->x * zoom + cx, y = p->y * zoom + cy;
        if (!Finite(x, y)) return Status::Failure(QStringLiteral("the axis indicator falls beyond the page's numbers"));
        page[k] = QPointF(x, y);
    }

    const uint32_t pen = vsp->PenColor();
    vsp->SetPenColor(kBlack);
    for (int k = 1; k < 4; ++k) {
        vsp->SetShapeX1(page[0].x());
        vsp->SetShapeY1(page[0].y());
        vsp->SetShapeX2(page[k].x());
        vsp->SetShapeY2(page[k].y());
        vsp->DrawShape(1);
    }
    vsp->SetPenColor(kWhite);
    vsp->MeasureText(QStringLiteral(" "));
    const double w = std::round(vsp->MeasuredTextWidth()), h = std::round(vsp->MeasuredTextHeight());
    const QString letters[] = {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")};
    for (int k = 1; k < 4; ++k) vsp->DrawTextBox(letters[k - 1], page[k].x(), page[k].y(), w, h, true);
    vsp->SetPenColor(pen);
    return Succeeded();
}

// ---- shared with the search panel ------------------------------------------------

int frmラーメン図::NodeRowOf(int number) const
{
    if (number < 0 || number > kLargestNode) return -1;
    const int r = Program().NodeRow[static_cast<size_t>(number)];
    return r >= 0 && static_cast<size_t>(r) < screenPoints_.size() ? r : -1;
}

int frmラーメン図::MemberRowOf(int number) const
{
    if (number < 0 || number > kLargestMember) return -1;
    const int r = Program().MemberRow[static_cast<size_t>(number)];
    return r >= 0 && static_cast<size_t>(r) < members_.size() ? r : -1;
}

// The member's line with a dot at each end, in the current pen and brush.
// A member or end node without a row of the last drawing beeps, names the
// member and empties the end-condition boxes.
bool frmラーメン図::DrawMember(int number)
{
    const int r = MemberRowOf(number);
    const int ri = r < 0 ? -1 : NodeRowOf(members_[static_cast<size_t>(r)].iNode);
    const int rj = r < 0 ? -1 : NodeRowOf(members_[static_cast<size_t>(r)].jNode);
    if (ri < 0 || rj < 0) {
        ui::Beep();
        if (number > 0)
            Program().MsgResult = static_cast<int16_t>(ui::MsgBox(
                QStringLiteral("部材番号：") + QString::number(number) + QStringLiteral(" は登録されていません"),
                ui::Icon::Information, AppTitle));
        ClearIEnd();
        ClearJEnd();
        return false;
    }
    const ScreenPoint& a = screenPoints_[static_cast<size_t>(ri)];
    const ScreenPoint& b = screenPoints_[static_cast<size_t>(rj)];
    if (!a.placed || !b.placed) return false;   // the drawing reported the node already
    vsp->DrawLine(a.x, a.y, b.x, b.y);
    vsp->DrawCircle(a.x, a.y, kEndDotRadius);
    vsp->DrawCircle(b.x, b.y, kEndDotRadius);
    return true;
}

// A circle at the node, in the current pen and brush; a node without a row
// of the last drawing beeps, names the node and empties the restraint boxes.
bool frmラーメン図::MarkNode(int number)
{
    const int r = NodeRowOf(number);
    if (r < 0) {
        ui::Beep();
        if (number > 0)
            Program().MsgResult = static_cast<int16_t>(ui::MsgBox(
                QStringLiteral("節点番号：") + QString::number(number) + QStringLiteral(" は登録されていません"),
                ui::Icon::Information, AppTitle));
        ClearNodeRestraint();
        return false;
    }
    const ScreenPoint& p = screenPoints_[static_cast<size_t>(r)];
    if (!p.placed) return false;
    vsp->DrawCircle(p.x, p.y, kNodeMarkRadius);
    return true;
}
