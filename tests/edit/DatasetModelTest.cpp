#include "gui/DatasetModel.h"

#include "data/Dataset.h"
#include "support/Fixture.h"

#include <QSignalSpy>
#include <QTableView>

using namespace kodexa;
using namespace kodexa::test;

namespace {

class DatasetModelTest : public ProgramDirTest {
protected:
    void SetUp() override {
        ProgramDirTest::SetUp();
        makeCatalogue(false);
        db.exec(QStringLiteral("INSERT INTO kiado VALUES (1, 'Móra', 'MORA'), (2, 'Európa', 'EUROPA'), (3, 'Osiris', 'OSIRIS')"));
    }
};

QStringList Column0(const QAbstractItemModel &m) {
    QStringList out;
    for (int r = 0; r < m.rowCount(); ++r)
        out << m.index(r, 0).data().toString();
    return out;
}

TEST_F(DatasetModelTest, FollowsInsertsEditsDeletesAndReloads) {
    MemDataset ds(db);
    DatasetTableModel model(&ds, {{QStringLiteral("kiado_nev"), QStringLiteral("kiadó")}, {QStringLiteral("kiado"), {}}});
    EXPECT_EQ(model.rowCount(), 0); // not open yet

    ds.openTable(QStringLiteral("kiado"), QStringLiteral("kiado_nev"));
    EXPECT_EQ(Column0(model), (QStringList{"Európa", "Móra", "Osiris"}));
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("kiadó"));
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("kiado")); // the field's own label
    EXPECT_EQ(model.index(0, 1).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight, int(Qt::AlignRight));

    ds.moveTo(1);
    ds.insert();
    ds.setValue(QStringLiteral("kiado"), 4);
    ds.setValue(QStringLiteral("kiado_nev"), QStringLiteral("Park"));
    ds.post();
    EXPECT_EQ(Column0(model), (QStringList{"Európa", "Park", "Móra", "Osiris"}));

    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    ds.edit();
    ds.setValue(QStringLiteral("kiado_nev"), QStringLiteral("Park Kiadó"));
    ds.post();
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(model.index(1, 0).data().toString(), QStringLiteral("Park Kiadó"));

    ds.moveTo(0);
    ds.deleteCurrent();
    EXPECT_EQ(Column0(model), (QStringList{"Park Kiadó", "Móra", "Osiris"}));

    ds.refresh();
    EXPECT_EQ(Column0(model), (QStringList{"Móra", "Osiris", "Park Kiadó"}));
    ds.close();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(DatasetModelTest, AColumnMayFormatAndAlignItsCellsAndStillGivesTheStoredValue) {
    MemDataset ds(db);
    ds.openTable(QStringLiteral("kiado"), QStringLiteral("kiado"));
    DatasetTableModel model(&ds, {{QStringLiteral("kiado"), QStringLiteral("#"),
                                   [](const QVariant &v) { return QVariant(QStringLiteral("<%1>").arg(v.toInt())); },
                                   Qt::AlignCenter},
                                  {QStringLiteral("kiado_nev"), {}}});
    EXPECT_EQ(model.index(1, 0).data().toString(), QStringLiteral("<2>"));
    EXPECT_EQ(model.index(1, 0).data(DatasetTableModel::ValueRole).toInt(), 2);
    EXPECT_EQ(model.index(1, 0).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
    EXPECT_EQ(model.index(1, 1).data().toString(), QStringLiteral("Európa"));
    EXPECT_EQ(model.index(1, 1).data(DatasetTableModel::ValueRole).toString(), QStringLiteral("Európa"));
}

TEST_F(DatasetModelTest, ViewAndDatasetShareTheCurrentRow) {
    MemDataset ds(db);
    ds.openTable(QStringLiteral("kiado"), QStringLiteral("kiado_nev"));
    QTableView view;
    auto *model = new DatasetTableModel(&ds, {{QStringLiteral("kiado_nev"), {}}}, &view);
    BindCurrentRow(&view, model);
    EXPECT_EQ(view.currentIndex().row(), 0);

    ds.moveTo(2);
    EXPECT_EQ(view.currentIndex().row(), 2);
    EXPECT_TRUE(view.selectionModel()->isRowSelected(2));

    view.setCurrentIndex(model->index(1, 0));
    EXPECT_EQ(ds.currentIndex(), 1);

    // A reload keeps the two together.
    ds.refresh();
    EXPECT_EQ(view.currentIndex().row(), ds.currentIndex());

    // Moving the view while a row is being edited does not throw the edit away behind the user's back.
    ds.edit();
    view.setCurrentIndex(model->index(2, 0));
    EXPECT_EQ(ds.state(), DsState::Edit);
    ds.cancel();
}

} // namespace
