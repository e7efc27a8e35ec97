#pragma once
// A started window over a program folder, driven as a person would, and the
// views of it that the reliability tests compare: result boxes, the log list,
// the log file's lines, and the snapshot the calculation sees.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <array>
#include <string>

#include "calc/calculation.h"
#include "calculation_check.h"
#include "catalogue/cp1251.h"
#include "window/window_fixture.h"

namespace nimbo::test {

inline const QStringList kMainResults{"TxtBx_p", "TxtBx_x", "TxtBx_LwA"};
inline const QStringList kSectionResults{"TxtBx_F0", "TxtBx_V0", "TxtBx_Fv", "TxtBx_Vv", "TxtBx_Fjs", "TxtBx_Vjs"};
inline const QStringList kAllResults = kMainResults + kSectionResults;
inline const QStringList kInputBoxes{"TxtBx_L", "TxtBx_V", "TxtBx_A", "TxtBx_B", "TxtBx_Dlina"};

inline QByteArray Cp1251(const QString& text)
{
    return QByteArray::fromStdString(cp1251::fromUtf8(text.toStdString()));
}

inline QByteArray HeaderLine(int variant)
{
    return QByteArray::fromStdString(LogFile::headerBytes(variant));
}

// The lines of a file, each with its line end; a last line without one is
// kept as it is, so that a half-written line shows.
inline QList<QByteArray> FileLines(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    qsizetype from = 0;
    while (from < bytes.size()) {
        const qsizetype lf = bytes.indexOf('\n', from);
        const qsizetype end = lf < 0 ? bytes.size() : lf + 1;
        lines.append(bytes.mid(from, end - from));
        from = end;
    }
    return lines;
}

// A program folder below a temporary directory; its name may be any path,
// with blanks and Cyrillic letters, several levels deep.
class NamedFolder {
public:
    explicit NamedFolder(const QString& name = QStringLiteral("Нимбо тест"))
        : path_(base_.path() + QLatin1Char('/') + name)
    {
        QDir().mkpath(path_);
    }
    bool isValid() const { return base_.isValid() && QFileInfo(path_).isDir(); }
    QString path() const { return path_; }
    QString file(const QString& relative) const { return path_ + QLatin1Char('/') + relative; }
    std::filesystem::path fsPath() const { return FileSystemPath(path_); }
    std::filesystem::path fsFile(const QString& relative) const { return FileSystemPath(file(relative)); }
    void writeCatalogue(const std::string& bytes) const { WriteCatalogue(fsPath(), bytes); }
    // The bytes of a regular file; nothing for anything else (reading a
    // link to /dev/full would never end).
    QByteArray read(const QString& relative) const
    {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(fsFile(relative), ec))
            return {};
        QFile f(file(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    QTemporaryDir base_;
    QString path_;
};

// A window started over a folder; `ok` says whether start-up succeeded.
struct Started {
    // separator: the user's decimal separator, or 0 for the locale's own.
    explicit Started(const std::string& catalogueBytes = fuzz::GeneratedCatalogueBytes(),
                     const QString& folderName = QStringLiteral("Нимбо тест"), char separator = 0)
        : folder(folderName)
    {
        if (separator)
            platform.separator = separator;
        folder.writeCatalogue(catalogueBytes);
        start();
    }
    void start()
    {
        window = std::make_unique<Form_Main>(folder.path(), platform);
        ok = folder.isValid() && window->startUp();
        if (ok)
            window->show();
    }

    template <class T>
    T* control(const QString& name) const
    {
        return Control<T>(*window, name.toLatin1().constData());
    }
    QLineEdit* box(const QString& name) const { return control<QLineEdit>(name); }
    QString text(const QString& name) const { return box(name)->text(); }
    QListWidget* list() const { return control<QListWidget>("LstBx_Log"); }
    QStringList listEntries() const
    {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i)
            out << list()->item(i)->text();
        return out;
    }

    // Picks entry `index` of a combo box, as a click in its list does.
    void pickIndex(const QString& combo, int index) const
    {
        auto* c = control<QComboBox>(combo);
        c->setCurrentIndex(index);
        emit c->activated(index);
    }
    bool pick(const QString& combo, const QString& text) const
    {
        const int index = control<QComboBox>(combo)->findText(text);
        if (index < 0)
            return false;
        pickIndex(combo, index);
        return true;
    }
    bool chooseModel(const QString& type, const QString& model) const
    {
        return pick(QStringLiteral("Cmb_TipVR"), type) && pick(QStringLiteral("Cmb_VidVR"), model);
    }
    void calculate() const { control<QPushButton>("Cmd_Start")->click(); }

    QStringList results() const
    {
        QStringList out;
        for (const QString& name : kAllResults)
            out << text(name);
        return out;
    }
    QByteArray logFile() const { return folder.read(QStringLiteral("Nimbo.csv")); }

    // What "Считай!" hands the engine, read from the controls as a person
    // sees them; kept apart from the window's own code on purpose.
    Snapshot snapshot() const
    {
        Snapshot s;
        s.catalogue = &window->catalogue();
        s.selection = window->selection();
        s.inputs = {text("TxtBx_L").toStdString(), text("TxtBx_V").toStdString(), text("TxtBx_A").toStdString(),
                    text("TxtBx_B").toStdString(), text("TxtBx_Dlina").toStdString()};
        s.variant = control<QRadioButton>("Opt_Var2")->isChecked() ? 2 : 1;
        OptionState& o = s.options;
        o.ksdVisible = !control<QWidget>("Frm_KSD")->isHidden();
        o.regFormVisible = !control<QWidget>("Frm_RegForm")->isHidden();
        o.regRashVisible = !control<QWidget>("Frm_RegRash")->isHidden();
        o.regForm1Visible = !control<QWidget>("Opt_RegForm1")->isHidden();
        const auto group = [&](const char* prefix, auto& captions) {
            int selected = 0;
            for (std::size_t i = 0; i < captions.size(); ++i) {
                auto* option = control<QRadioButton>(prefix + QString::number(i + 1));
                captions[i] = option->text().toStdString();
                if (option->isChecked())
                    selected = static_cast<int>(i) + 1;
            }
            return selected;
        };
        o.ksd = group("Opt_KSD", o.ksdCaptions);
        o.regForm = group("Opt_RegForm", o.regFormCaptions);
        o.regRash = group("Opt_RegRash", o.regRashCaptions);
        Sections& sec = s.sections;
        sec.fvVisible = !control<QWidget>("Frm_FV")->isHidden();
        sec.svVisible = !control<QWidget>("Frm_SV")->isHidden();
        sec.jsVisible = !control<QWidget>("Frm_JS")->isHidden();
        sec.F0 = text("TxtBx_F0").toStdString();
        sec.V0 = text("TxtBx_V0").toStdString();
        sec.Fv = text("TxtBx_Fv").toStdString();
        sec.Vv = text("TxtBx_Vv").toStdString();
        sec.Fjs = text("TxtBx_Fjs").toStdString();
        sec.Vjs = text("TxtBx_Vjs").toStdString();
        s.modelText = control<QComboBox>("Cmb_VidVR")->currentText().toStdString();
        s.sizeComboText = control<QComboBox>("Cmb_Tprzmr")->currentText().toStdString();
        s.rzmrVisible = !control<QWidget>("Frm_Rzmr")->isHidden();
        s.dlinaVisible = !control<QWidget>("Frm_Dlina")->isHidden();
        s.labelV = control<QLabel>("Lbl_V")->text().toStdString();
        s.unitV = control<QLabel>("Lbl_RV")->text().toStdString();
        s.labelX = control<QLabel>("Lbl_x")->text().toStdString();
        s.unitX = control<QLabel>("Lbl_Rll")->text().toStdString();
        s.decimalSeparator = platform.decimalSeparator();
        return s;
    }

    // The nine result texts an outcome puts into the boxes, in kAllResults order.
    static QStringList ResultsOf(const Outcome& out)
    {
        const Sections& s = out.sections;
        QStringList texts;
        for (const std::string* t : {&out.p, &out.x, &out.LwA, &s.F0, &s.V0, &s.Fv, &s.Vv, &s.Fjs, &s.Vjs})
            texts << QString::fromStdString(*t);
        return texts;
    }

    RecordingPlatform platform;
    NamedFolder folder;
    std::unique_ptr<Form_Main> window;
    bool ok = false;
};

}  // namespace nimbo::test
