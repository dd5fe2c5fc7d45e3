// Opening, clearing and saving the two data sets from the main window, with the dialogs
// answered by the scripted services: the locus list, the journal, the load-error box, Stop
// during a load, every write format, a path with accented characters.
#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <sstream>

#include "WindowTestSupport.h"
#include "dataset/DataSetTexts.h"

using namespace wtest;

namespace {

// The locus list as "name:checked:available" entries.
QStringList LocusList(const TWindow& w) {
  QStringList entries;
  auto* list = w.Find<QListWidget>("CheckListBoxFiltreLocus");
  for (int i = 0; i < list->count(); ++i) {
    const QListWidgetItem* item = list->item(i);
    entries << QString("%1:%2:%3")
                   .arg(item->text())
                   .arg(item->checkState() == Qt::Checked ? 1 : 0)
                   .arg(item->flags().testFlag(Qt::ItemIsUserCheckable) ? 1 : 0);
  }
  return entries;
}

} // namespace

class DataSetWindowTest : public QObject {
  Q_OBJECT

private:
  QTemporaryDir dir_;
  std::string reference_, samples_, large_;

private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    // L4 is typed in North only.
    reference_ =
        WriteGenepop(dir_, "ref.gen", {"L1", "L2", "L3", "L4"},
                     {{"North", {"n1 , 0101 0102 0303 0101", "n2 , 0102 0202 0303 0102"}},
                      {"South", {"s1 , 0202 0101 0103 0000", "s2 , 0101 0101 0303 0000"}}});
    samples_ =
        WriteGenepop(dir_, "samples.gen", {"L2", "L3", "L4", "L5"},
                     {{"Unknown", {"u1 , 0101 0202 0101 0101", "u2 , 0102 0202 0101 0101"}}});
    std::vector<std::string> many;
    for (int i = 0; i < 400; ++i)
      many.push_back("i" + std::to_string(i) + " , 0101 0102 0303 0101");
    large_ = WriteGenepop(dir_, "large.gen", {"L1", "L2", "L3", "L4"}, {{"Big", many}});
  }

  // The open dialog offers every readable format; the chosen entry is the format read. Only
  // the loci both files have are listed; a locus untyped in a reference population is
  // unchecked and cannot be checked, even by "&Tous".
  void referenceAndSamples() {
    TWindow w;
    w.Services.AnswerFile(reference_, 2); // GenePop 2
    w.Click("BitBtnAssignationOuvrirReference");
    QCOMPARE(int(w.Services.Dialogs.size()), 1);
    const TFileDialogRequest& request = w.Services.Dialogs[0].Request;
    QVERIFY(w.Services.Dialogs[0].Open);
    QCOMPARE(request.Title, Latin1("Ouvrir le fichier de référence"));
    QCOMPARE(int(request.Filters.size()), 8);
    QCOMPARE(request.Filters[0].Name, "GenePop 3 (*)");
    QCOMPARE(request.Filters[3].Name, "Genetix (*.gtx)");
    QCOMPARE(request.Filters[3].Pattern, "*.gtx");
    // The dialog opens on "inconnu (*)": the format is found from the file unless chosen.
    QCOMPARE(request.SelectedFilter, 8);
    QCOMPARE(request.Filters[7].Name, "inconnu (*)");
    QVERIFY(w.Form->RefLoaded);
    QCOMPARE(w.Find<QLineEdit>("EditAssignationReference")->text(), PathToQt(reference_));
    QCOMPARE(LocusList(w), QStringList({"L1:1:1", "L2:1:1", "L3:1:1", "L4:0:0"}));
    const QStringList journal = w.Journal();
    QVERIFY(journal.contains(ToQt(
        Format(Latin1("Ouverture du fichier de référence %s ...").c_str(), reference_.c_str()))));
    QVERIFY(journal.contains("Fichier chargé (GenePop 2)"));
    QVERIFY(w.Find<QWidget>("BitBtnDisplayFrequencyRef")->isEnabled());
    QVERIFY(w.Find<QWidget>("SpeedButtonClearReference")->isEnabled());

    w.Services.AnswerFile(samples_, 8); // found from the file
    w.Click("BitBtnAssignationOuvrirEchantillon");
    QCOMPARE(w.Services.Dialogs[1].Request.Title, Latin1("Ouvrir le fichier des échantillons"));
    QVERIFY(w.Form->SamplesLoaded);
    QCOMPARE(LocusList(w), QStringList({"L2:1:1", "L3:1:1", "L4:0:0"}));

    w.Click("BitBtnFiltreLocusAucun");
    QCOMPARE(LocusList(w), QStringList({"L2:0:1", "L3:0:1", "L4:0:0"}));
    // The user's own check marks reach the run's selection.
    w.Find<QListWidget>("CheckListBoxFiltreLocus")->item(1)->setCheckState(Qt::Checked);
    QCOMPARE(CheckedLoci(w.Form->LocusChoices()), std::vector<std::string>{"L3"});
    w.Click("BitBtnFiltreLocusTous");
    QCOMPARE(LocusList(w), QStringList({"L2:1:1", "L3:1:1", "L4:0:0"}));

    // The reference loaded again lists its loci that the samples have.
    w.Form->OpenReference(reference_, TReadFormat::Unknown);
    QCOMPARE(LocusList(w), QStringList({"L2:1:1", "L3:1:1", "L4:0:0"}));

    // Clearing leaves the locus list as it is.
    w.Click("SpeedButtonClearSamples");
    QVERIFY(!w.Form->SamplesLoaded);
    QVERIFY(w.Find<QLineEdit>("EditAssignationEchantillons")->text().isEmpty());
    QCOMPARE(w.Form->dataStructureSample.SamplesCount(), 0);
    w.Click("SpeedButtonClearReference");
    QVERIFY(!w.Form->RefLoaded);
    QVERIFY(!w.Find<QWidget>("BitBtnStart")->isEnabled());
    QCOMPARE(LocusList(w).size(), 3);

    // A cancelled dialog changes nothing.
    w.Services.AnswerCancel();
    w.Click("BitBtnAssignationOuvrirReference");
    QVERIFY(!w.Form->RefLoaded);
  }

  // A file no reader accepts: the box names the first problem (line and column), the journal
  // holds the readers' messages, the journal tab is shown, the edit is emptied.
  void malformedFile() {
    TWindow w;
    w.Form->OpenReference(reference_, TReadFormat::Unknown);
    const std::string bad =
        WriteText(dir_, "bad.gen", "Bad\nL1\nL2\nPop North\nn1 , 0101 0102\nn2 , 0102 01zz\n");
    w.Services.AnswerFile(bad, 8);
    w.Form->menuItemOuvrirReference->trigger();

    QVERIFY(!w.Form->RefLoaded);
    QCOMPARE(w.Form->dataStructureRef.LociCount(), 0);
    QVERIFY(w.Find<QLineEdit>("EditAssignationReference")->text().isEmpty());
    QVERIFY(w.Form->LocusChoices().empty());
    QCOMPARE(int(w.Services.Messages.size()), 1);
    const TScriptedServices::TMessageCall& box = w.Services.Messages[0];
    QCOMPARE(int(box.Kind), int(TMessageKind::Error));
    QVERIFY(box.Text.starts_with(
        Latin1("Le type du fichier est inconnu ou son format n'est pas supporté\n\n")));
    const std::string first = w.Form->dataStructureRef.Messages.front();
    QVERIFY(box.Text.ends_with(first));
    QVERIFY(first.find("ligne") != std::string::npos);
    QCOMPARE(w.Find<QTabWidget>("PageControlPrinc")->currentWidget()->objectName(),
             QString("TabSheetJournal"));
    QVERIFY(w.Journal().contains("        " + ToQt(first)));
    QVERIFY(!w.Form->Running());
    QVERIFY(w.Find<QWidget>("BitBtnAssignationOuvrirReference")->isEnabled());
    QVERIFY(!w.Find<QWidget>("ToolButtonArret")->isEnabled());
  }

  // Stop during a load: No lets it go on and asks again at the next Stop; Yes interrupts it
  // and leaves the data set empty, never half read. The window is locked meanwhile, Stop and
  // the journal excepted.
  void stopDuringLoad() {
    TWindow w;
    w.Form->OpenReference(reference_, TReadFormat::Unknown);
    bool lockedWhileLoading = false;
    auto clickStop = [&w, &lockedWhileLoading] {
      lockedWhileLoading = w.Form->Running() && w.Find<QWidget>("ToolButtonArret")->isEnabled() &&
                           !w.Find<QWidget>("BitBtnStart")->isEnabled() &&
                           !w.Find<QWidget>("BitBtnAssignationOuvrirReference")->isEnabled() &&
                           !w.Form->menuItemQuitter->isEnabled() &&
                           w.Find<QWidget>("MemoJournal")->isEnabled();
      w.Click("ToolButtonArret");
    };
    auto nothing = [] {};
    // Stop's own event processing takes the entry after each click.
    w.Services.EventActions = {clickStop, nothing, clickStop, nothing};
    w.Services.MessageAnswers = {TMessageButton::No, TMessageButton::Yes};
    w.Services.AnswerFile(large_, 8);
    w.Click("ToolButtonOuvrir");

    QVERIFY(lockedWhileLoading);
    QCOMPARE(int(w.Services.Messages.size()), 3);
    for (int i = 0; i < 2; ++i) {
      QCOMPARE(int(w.Services.Messages[i].Kind), int(TMessageKind::Confirmation));
      QCOMPARE(int(w.Services.Messages[i].Buttons), int(TMessageButtons::YesNo));
      QCOMPARE(int(w.Services.Messages[i].Default), int(TMessageButton::No));
      QCOMPARE(w.Services.Messages[i].Text, Latin1("Voulez-vous interrompre le calcul en cours ?"));
    }
    QCOMPARE(int(w.Services.Messages[2].Kind), int(TMessageKind::Warning));
    QCOMPARE(w.Services.Messages[2].Text, kOperationInterrupted());
    QVERIFY(w.Journal().contains("Interruption utilisateur"));
    QVERIFY(!w.Form->RefLoaded);
    QCOMPARE(w.Form->dataStructureRef.LociCount(), 0);
    QCOMPARE(w.Form->dataStructureRef.SamplesCount(), 0);
    QCOMPARE(w.Form->dataStructureRef.AllIndividuals.Count(), 0);
    QVERIFY(w.Find<QLineEdit>("EditAssignationReference")->text().isEmpty());
    QVERIFY(w.Form->LocusChoices().empty());
    QVERIFY(!w.Form->Running());
    QVERIFY(!w.Form->Driver.StopRequested);
    QVERIFY(!w.Find<QWidget>("BitBtnStart")->isEnabled());

    // The next load is not stopped by the earlier request.
    w.Form->OpenReference(reference_, TReadFormat::Unknown);
    QVERIFY(w.Form->RefLoaded);

    // Samples stopped at once: the previous samples are gone, and the locus list is the
    // reference's again.
    w.Form->OpenSamples(samples_, TReadFormat::Unknown);
    QCOMPARE(LocusList(w), QStringList({"L2:1:1", "L3:1:1", "L4:0:0"}));
    w.Services.EventActions = {clickStop, nothing};
    w.Services.MessageAnswers = {TMessageButton::Yes};
    w.Services.AnswerFile(large_, 8);
    w.Click("BitBtnAssignationOuvrirEchantillon");
    QVERIFY(!w.Form->SamplesLoaded);
    QCOMPARE(w.Form->dataStructureSample.AllIndividuals.Count(), 0);
    QVERIFY(w.Find<QLineEdit>("EditAssignationEchantillons")->text().isEmpty());
    QCOMPARE(LocusList(w), QStringList({"L1:1:1", "L2:1:1", "L3:1:1", "L4:0:0"}));
    QVERIFY(w.Form->RefLoaded);
    QVERIFY(w.Find<QWidget>("BitBtnStart")->isEnabled());
  }

  // The save dialog offers the ten write formats; the chosen entry is the format written.
  void saveInEveryFormat() {
    TWindow w;
    w.Form->OpenReference(reference_, TReadFormat::Unknown);
    w.Form->OpenSamples(samples_, TReadFormat::Unknown);
    for (TWriteFormat format : kWriteFormats) {
      const int code = WriteFormatCode(format);
      const std::string path = PathFromQt(dir_.filePath(QString("saved%1").arg(code)));
      w.Services.AnswerFile(path, code + 1);
      w.Form->menuItemSauverReference->trigger();
      std::ostringstream expected;
      try {
        w.Form->dataStructureRef.Write(expected, format, 1);
      } catch (const std::exception& error) {
        // Diploid data in the haploid format: told in a box and in the journal, nothing written.
        QCOMPARE(code, WriteFormatCode(TWriteFormat::GenePopHaploid));
        QCOMPARE(w.Services.Messages.back().Text, std::string(error.what()));
        QVERIFY(w.Journal().contains(ToQt(error.what())));
        QVERIFY(!QFile::exists(PathToQt(SaveFileName(path, format, true))));
        continue;
      }
      QCOMPARE(ReadFile(SaveFileName(path, format, true)), expected.str());
    }
    QCOMPARE(int(w.Services.Messages.size()), 1);
    w.Services.Messages.clear();
    const TFileDialogRequest& request = w.Services.Dialogs.back().Request;
    QVERIFY(!w.Services.Dialogs.back().Open);
    QCOMPARE(request.Title, Latin1("Sauver le fichier de référence sous"));
    QCOMPARE(int(request.Filters.size()), 10);
    QCOMPARE(request.Filters[5].Name, "Arlequin (microsat) (*.arp)");

    const std::string samplesCopy = PathFromQt(dir_.filePath("samples-copy.gen"));
    w.Services.AnswerFile(samplesCopy, 2);
    w.Form->menuItemSauverEchantillon->trigger();
    QCOMPARE(w.Services.Dialogs.back().Request.Title,
             Latin1("Sauver le fichier des échantillons sous"));
    std::ostringstream expected;
    w.Form->dataStructureSample.Write(expected, TWriteFormat::GenePop2, 1);
    QCOMPARE(ReadFile(samplesCopy), expected.str());

    // The tool button saves the reference; a failure is told and logged.
    w.Services.AnswerFile(PathFromQt(dir_.filePath("no-such-folder/out.gen")), 1);
    w.Click("ToolButtonSauver");
    QCOMPARE(w.Services.Dialogs.back().Request.Title,
             Latin1("Sauver le fichier de référence sous"));
    QCOMPARE(int(w.Services.Messages.size()), 1);
    QCOMPARE(int(w.Services.Messages[0].Kind), int(TMessageKind::Error));
    QVERIFY(w.Journal().contains(ToQt(w.Services.Messages[0].Text)));

    // Nothing to save without a data set.
    w.Click("SpeedButtonClearReference");
    QVERIFY(!w.Form->menuItemSauverReference->isEnabled());
    QVERIFY(!w.Find<QWidget>("ToolButtonSauver")->isEnabled());
  }

  // A path with accented characters, as the file dialog gives it (local 8-bit encoding).
  void accentedPath() {
    TWindow w;
    const QString name = dir_.filePath(QString::fromUtf8("réf été.gen"));
    QVERIFY(QFile::copy(PathToQt(reference_), name));
    w.Services.AnswerFile(PathFromQt(name), 8);
    w.Click("BitBtnAssignationOuvrirReference");
    QVERIFY(w.Form->RefLoaded);
    QCOMPARE(w.Find<QLineEdit>("EditAssignationReference")->text(), name);
    QVERIFY(w.Journal().contains(
        QString::fromUtf8("Ouverture du fichier de référence %1 ...").arg(name)));
  }
};

TARVIK_WINDOW_TEST_MAIN(DataSetWindowTest)
#include "DataSetWindowTest.moc"
