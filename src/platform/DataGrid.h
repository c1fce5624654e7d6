// The bound data control and the read-only data grid of the list screens.
// `DataControl` holds the recordset a screen works on; `DataGrid` shows that
// recordset's rows in its own order, one column per field, and keeps its
// highlighted row on the recordset's current row. Clicking a row makes it the
// recordset's current row and raises RowColChange.
#pragma once

#include "platform/Database.h"

#include <QAbstractTableModel>
#include <QObject>
#include <QTableView>
#include <vector>

namespace dao {

class DataControl : public QObject {
    Q_OBJECT
public:
    explicit DataControl(const QString& name, QObject* parent = nullptr);

    // Binds a recordset (nullptr unbinds); the grids bound to this control
    // read its rows again.
    void SetRecordset(const RecordsetPtr& rs);
    RecordsetPtr Recordset() const { return rs_; }
    // Reads the rows again and puts the highlight on the current row.
    void Refresh();
    // Puts the highlight on the recordset's current row (after code moved it).
    void SyncPosition();

signals:
    void Rebound();
    void PositionChanged();

private:
    RecordsetPtr rs_;
};

// How one field is shown; fields without a column description show their value as
// text under their own name.
struct GridColumn {
    QString field;
    QString caption;
    QString format;      // "0.000" etc.; empty: the value's text
    bool hidden = false;
};

class RecordsetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RecordsetModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}
    void SetColumns(const std::vector<GridColumn>& columns) { columns_ = columns; }
    void Load(const RecordsetPtr& rs);
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // The field name of a column.
    QString FieldOf(int column) const;
    bool IsHidden(int column) const;

private:
    std::vector<GridColumn> columns_;
    std::vector<QString> fields_;
    std::vector<std::vector<QString>> rows_;
};

class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(const QString& name, QWidget* parent = nullptr);

    void SetColumns(const std::vector<GridColumn>& columns);
    void SetDataSource(DataControl* data);
    DataControl* DataSource() const { return data_; }

    // Row height and height of the whole grid, in twips.
    double RowHeight() const;
    void SetRowHeight(double twips);
    double HeightTw() const;
    void SetHeightTw(double twips);
    double LeftTw() const;
    double WidthTw() const;

    // The first visible row (the scroll position kept across a rebinding).
    int Scroll() const;
    void SetScroll(int firstRow);

    // The highlighted row, or -1.
    int CurrentRow() const;
    // Selects a row as a user's click does (moves the recordset, raises RowColChange).
    void ClickRow(int row);
    int RowCount() const;
    QString CellText(int row, const QString& field) const;

signals:
    void RowColChange();

protected:
    // Read-only and moved only by a click on a row: keys do not move in it,
    // and dragging selects nothing.
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Reload();
    void SyncFromRecordset();

    DataControl* data_ = nullptr;
    RecordsetModel* model_ = nullptr;
    bool syncing_ = false;
};

}  // namespace dao
