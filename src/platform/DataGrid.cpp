#include "platform/DataGrid.h"

#include "platform/Forms.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

namespace dao {

DataControl::DataControl(const QString& name, QObject* parent) : QObject(parent)
{
    setObjectName(name);
}

void DataControl::SetRecordset(const RecordsetPtr& rs)
{
    rs_ = rs;
    emit Rebound();
}

void DataControl::Refresh() { emit Rebound(); }

void DataControl::SyncPosition() { emit PositionChanged(); }

// ---- model ---------------------------------------------------------------

void RecordsetModel::Load(const RecordsetPtr& rs)
{
    beginResetModel();
    fields_.clear();
    rows_.clear();
    if (rs && rs->IsOpen()) {
        for (int i = 0; i < rs->FieldCount(); ++i) fields_.push_back(rs->FieldName(i));
        // A clone reads the rows in the recordset's own order without moving it.
        RecordsetPtr clone = rs->Clone();
        if (!(clone->BOF() && clone->EOF_())) {
            clone->MoveFirst();
            std::vector<QString> formats(fields_.size());
            for (size_t f = 0; f < fields_.size(); ++f)
                for (const GridColumn& c : columns_)
                    if (c.field.compare(fields_[f], Qt::CaseInsensitive) == 0) formats[f] = c.format;
            while (!clone->EOF_()) {
                std::vector<QString> row;
                row.reserve(fields_.size());
                for (size_t f = 0; f < fields_.size(); ++f) {
                    rt::Variant v = clone->Field(static_cast<int>(f));
                    if (v.isNull()) row.push_back(QString());
                    else if (v.isNumber() && !formats[f].isEmpty()) row.push_back(rt::Format(v.toDouble(), formats[f]));
                    else row.push_back(v.toString());
                }
                rows_.push_back(std::move(row));
                clone->MoveNext();
            }
        }
        clone->Close();
    }
    endResetModel();
}

int RecordsetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int RecordsetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(fields_.size());
}

QVariant RecordsetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    if (role == Qt::DisplayRole) return rows_[index.row()][index.column()];
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    return {};
}

QVariant RecordsetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return QVariant();
    if (section < 0 || section >= columnCount()) return {};
    for (const GridColumn& c : columns_)
        if (c.field.compare(fields_[section], Qt::CaseInsensitive) == 0 && !c.caption.isEmpty()) return c.caption;
    return fields_[section];
}

QString RecordsetModel::FieldOf(int column) const
{
    return column >= 0 && column < columnCount() ? fields_[column] : QString();
}

bool RecordsetModel::IsHidden(int column) const
{
    for (const GridColumn& c : columns_)
        if (c.field.compare(FieldOf(column), Qt::CaseInsensitive) == 0) return c.hidden;
    return false;
}

// ---- grid ----------------------------------------------------------------

DataGrid::DataGrid(const QString& name, QWidget* parent) : QTableView(parent)
{
    setObjectName(name);
    model_ = new RecordsetModel(this);
    setModel(model_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    setFocusPolicy(Qt::ClickFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    verticalHeader()->setVisible(true);   // the record selectors
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(18);
    connect(verticalHeader(), &QHeaderView::sectionClicked, this,
            [this](int row) { ClickRow(row); });
}

void DataGrid::SetColumns(const std::vector<GridColumn>& columns) { model_->SetColumns(columns); }

void DataGrid::SetDataSource(DataControl* data)
{
    if (data_) disconnect(data_, nullptr, this, nullptr);
    data_ = data;
    if (data_) {
        connect(data_, &DataControl::Rebound, this, &DataGrid::Reload);
        connect(data_, &DataControl::PositionChanged, this, &DataGrid::SyncFromRecordset);
    }
    Reload();
}

void DataGrid::Reload()
{
    RecordsetPtr rs = data_ ? data_->Recordset() : nullptr;
    model_->Load(rs);
    for (int c = 0; c < model_->columnCount(); ++c) setColumnHidden(c, model_->IsHidden(c));
    SyncFromRecordset();
}

void DataGrid::SyncFromRecordset()
{
    syncing_ = true;
    RecordsetPtr rs = data_ ? data_->Recordset() : nullptr;
    int row = -1;
    if (rs && rs->IsOpen() && !rs->BOF() && !rs->EOF_()) row = rs->AbsolutePosition();
    if (row >= 0 && row < model_->rowCount()) {
        selectRow(row);
        setCurrentIndex(model_->index(row, 0));
        scrollTo(model_->index(row, 0));
    } else {
        clearSelection();
        setCurrentIndex(QModelIndex());
    }
    syncing_ = false;
}

void DataGrid::keyPressEvent(QKeyEvent* event) { event->ignore(); }

void DataGrid::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && event->button() == Qt::LeftButton) ClickRow(index.row());
    event->accept();
}

void DataGrid::mouseMoveEvent(QMouseEvent* event) { event->accept(); }

void DataGrid::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }

void DataGrid::ClickRow(int row)
{
    if (syncing_ || !data_) return;
    RecordsetPtr rs = data_->Recordset();
    if (!rs || !rs->IsOpen() || row < 0 || row >= model_->rowCount()) return;
    rs->SetAbsolutePosition(row);
    SyncFromRecordset();
    emit RowColChange();
}

double DataGrid::RowHeight() const { return forms::Tw(verticalHeader()->defaultSectionSize()); }

void DataGrid::SetRowHeight(double twips) { verticalHeader()->setDefaultSectionSize(forms::Px(twips)); }

double DataGrid::HeightTw() const { return forms::Tw(height()); }

void DataGrid::SetHeightTw(double twips) { resize(width(), forms::Px(twips)); }

double DataGrid::LeftTw() const { return forms::Tw(x()); }

double DataGrid::WidthTw() const { return forms::Tw(width()); }

int DataGrid::Scroll() const { return verticalScrollBar()->value(); }

void DataGrid::SetScroll(int firstRow) { verticalScrollBar()->setValue(firstRow); }

int DataGrid::CurrentRow() const
{
    QModelIndexList rows = selectionModel() ? selectionModel()->selectedRows() : QModelIndexList();
    return rows.isEmpty() ? -1 : rows.first().row();
}

int DataGrid::RowCount() const { return model_->rowCount(); }

QString DataGrid::CellText(int row, const QString& field) const
{
    for (int c = 0; c < model_->columnCount(); ++c)
        if (model_->FieldOf(c).compare(field, Qt::CaseInsensitive) == 0)
            return model_->data(model_->index(row, c), Qt::DisplayRole).toString();
    return QString();
}

}  // namespace dao
