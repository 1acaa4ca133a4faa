// Where the logos go, changed in the window as a user does it: the row below the pages, its
// dialog and the disk image dialog driven with real input on the offscreen platform, into a raw
// disk image made by sfdisk and mkfs.fat and read back with mtools.

#include "app/ui/controls/elided_label.h"
#include "app/ui/controls/line_edit.h"
#include "app/ui/fm_image_target.h"
#include "app/ui/fm_install_targets.h"
#include "app/ui/targets_row.h"
#include "tests/app/ui/window_fixture.h"
#include "tests/platform/disk_image/disk_image_tools.h"

#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <functional>

namespace {

constexpr std::size_t kLogoSize = 14 + 40 + 1024 + 320 * 400;
const TTestPartition kWin98{1, 2048, 96256, "c", 32, "WIN98"};

// Runs Step on the dialog of kind TDialog once it is the active modal window. A dialog that Step
// leaves open is closed, so that a failed step does not leave the test waiting.
template <typename TDialog>
void WhenShown(std::function<void(TDialog&)> Step) {
    auto* Poll = new QTimer;
    auto Waited = std::make_shared<QElapsedTimer>();
    Waited->start();
    QObject::connect(Poll, &QTimer::timeout, [Poll, Waited, Step = std::move(Step)] {
        auto* Dialog = dynamic_cast<TDialog*>(QApplication::activeModalWidget());
        if (Dialog == nullptr || !Dialog->isVisible()) {
            if (Waited->elapsed() > 20000) {
                ADD_FAILURE() << "no dialog " << typeid(TDialog).name() << " appeared";
                Poll->deleteLater();
                Poll->stop();
            }
            return;
        }
        Poll->stop();
        Poll->deleteLater();
        Step(*Dialog);
        if (Dialog->isVisible()) {
            Dialog->reject();
        }
    });
    Poll->start(10);
}

// Ends the file dialog with Path chosen as a user does it: typed whole into the file name field,
// then accepted. (Selecting it in the list would wait on the dialog's folder model, which reads
// the folder on a thread of its own.)
void ChooseInFileDialog(const std::string& Path) {
    WhenShown<QFileDialog>([Path](QFileDialog& Files) {
        auto* Name = Files.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(Name, nullptr);
        Name->setText(QString::fromStdString(Path));
        static_cast<QDialog&>(Files).accept();
    });
}

} // namespace

TEST_F(WindowTest, ADiskImageSetInTheWindowGetsTheLogosOfSaveLogos) {
    SKIP_WITHOUT_TOOLS("mtools", "mkfs.fat", "sfdisk");
    const std::string Image = Dir / "win98.img";
    MakePartitionedImage(Image, 48, {kWin98});
    MakeFolder(Image, kWin98.Offset(), "t:/WINDOWS");
    PutFile(Image, kWin98.Offset(), "t:/WINDOWS/LOGOW.SYS", "system wait");
    PutFile(Image, kWin98.Offset(), "t:/WINDOWS/LOGOS.SYS", "system off");
    const std::string Share = Dir / "share";
    std::filesystem::create_directories(Share);
    Start();
    TTargetsRow& Row = *Window.TargetsRow();
    const std::string Automatic = "automatic: " + Dir / "windows";
    EXPECT_EQ(Row.lbTargets->Text().toStdString(), Automatic);

    // Cancel leaves the targets as they were.
    WhenShown<TfmInstallTargets>([&](TfmInstallTargets& Dialog) {
        ChooseInFileDialog(Share);
        Click(Dialog.btAddFolder);
        EXPECT_EQ(Dialog.lbTargetList->count(), 1);
        Click(Dialog.btCancel);
    });
    Click(Row.btChangeTargets);
    EXPECT_TRUE(App.Settings().InstallTargets().Automatic());
    EXPECT_EQ(Row.lbTargets->Text().toStdString(), Automatic);

    // The image's partition chosen in its table, a folder beside it, the image tried out.
    WhenShown<TfmInstallTargets>([&](TfmInstallTargets& Dialog) {
        ChooseInFileDialog(Image);
        WhenShown<TfmImageTarget>([&](TfmImageTarget& Volumes) {
            QTreeWidget& Table = *Volumes.tvVolumes;
            ASSERT_EQ(Table.topLevelItemCount(), 2);
            QTreeWidgetItem* Partition = Table.topLevelItem(1);
            EXPECT_EQ(QStringList({Partition->text(0), Partition->text(1), Partition->text(3),
                                   Partition->text(4)}),
                      QStringList({"1", "FAT32", "WIN98", "WINDOWS"}));
            QTest::mouseClick(Table.viewport(), Qt::LeftButton, {},
                              Table.visualItemRect(Partition).center());
            EXPECT_EQ(Volumes.edFolder->text(), QStringLiteral("WINDOWS"));
            Click(Volumes.btOK);
        });
        Click(Dialog.btAddImage);
        ChooseInFileDialog(Share);
        Click(Dialog.btAddFolder);
        ASSERT_EQ(Dialog.lbTargetList->count(), 2);
        QListWidget& List = *Dialog.lbTargetList;
        QTest::mouseClick(List.viewport(), Qt::LeftButton, {},
                          List.visualItemRect(List.item(0)).center());
        Click(Dialog.btTest);
        EXPECT_TRUE(Dialog.lbResult->text().startsWith(
            QString::fromStdString("OK: the logos can be written to " + Image +
                                   " (partition 1, FAT32 \"WIN98\", folder WINDOWS).")))
            << Dialog.lbResult->text().toStdString();
        Click(Dialog.btOK);
    });
    Click(Row.btChangeTargets);
    EXPECT_EQ(App.Settings().InstallTargets().Targets(),
              (std::vector<std::string>{Image + "::1", Share}));
    EXPECT_EQ(Row.lbTargets->Text().toStdString(),
              Image + " (partition 1, folder WINDOWS); " + Share);

    // Both targets get the same new logos; the image's own are backed up first.
    Click(General().btSaveLogos);
    for (const char* Name : {"logow.sys", "logos.sys"}) {
        SCOPED_TRACE(Name);
        const TProcessResult Read =
            GetFile(Image, kWin98.Offset(), std::string("t:/WINDOWS/") + Name);
        ASSERT_EQ(Read.ExitCode, 0) << Read.Err;
        EXPECT_EQ(Read.Out.size(), kLogoSize);
        EXPECT_EQ(Read.Out.substr(0, 2), "BM");
        EXPECT_TRUE(Read.Out == ReadFile(Share + "/" + Name));
    }
    EXPECT_TRUE(FolderEntries(Dir / "windows").empty());
    std::vector<std::string> Backups;
    for (const auto& Entry : std::filesystem::directory_iterator(Dir / "program/backups")) {
        Backups.push_back(ReadFile(Entry.path() / "logow.sys") + ", " +
                          ReadFile(Entry.path() / "logos.sys"));
    }
    EXPECT_EQ(Backups, std::vector<std::string>{"system wait, system off"});

    Click(General().btSaveExit);
    EXPECT_NE(Settings().find("[Install Targets]\nTarget1=" + Image + "::1\nTarget2=" + Share),
              std::string::npos)
        << Settings();
}
