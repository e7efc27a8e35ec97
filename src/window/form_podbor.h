#pragma once
// «Подбор воздухораспределителя»: every size of the range for the user's air
// flow, checked against the user's limits, recomputed as the user types,
// with the jet of the selected candidate drawn. Not modal; a view over the
// search of src/select.
#include <QWidget>

#include <array>
#include <atomic>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "select/search.h"
#include "window/background.h"

class JetChart;
class NoiseChart;
class QGroupBox;
class PodborModel;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSortFilterProxyModel;
class QSplitter;
class QTableView;
class QTimer;

class Form_Podbor : public QWidget {
    Q_OBJECT
public:
    // beside: the window the finder opens beside, and its owner.
    Form_Podbor(std::shared_ptr<const nimbo::Catalogue> catalogue, QWidget& beside);
    ~Form_Podbor() override;

    // Fills the inputs from the main window's selection and boxes (the
    // limits stay as remembered) and searches.
    void startFrom(const nimbo::Calculation& calculation);
    // A project's room to choose again: the finder takes its inputs, and
    // «В проект» then replaces that room (index in the project).
    void editRoom(const nimbo::Request& request, int index);
    // The project room being chosen again, -1 for none; asked once.
    int takeEditedRoom();
    // Before it is shown: where it was last, kept on screen; the first time
    // at the size that shows every column, beside the main window.
    void placeOnOpen();
    // Every column of the present list in view, the chart beside it.
    QSize firstSize() const;

    // More candidate lines than this are searched off the user-interface
    // thread, with a progress bar (tests lower it).
    void setLinesOnThisThread(std::size_t lines) { linesOnThisThread_ = lines; }

    bool searching() const { return running_ > 0; }
    PodborModel* model() const { return model_; }
    QTableView* table() const { return table_; }
    JetChart* chart() const { return chart_; }
    NoiseChart* noise() const { return noise_; }

signals:
    // A search has ended and its result (or the refusal) is on screen.
    void searched();
    // «Выбрать» on a row: the request it was found by and the row.
    void chosen(const nimbo::Request& request, const nimbo::Found& found);
    // «В проект» on a row of a room.
    void toProject(const nimbo::Request& request, const nimbo::Found& found);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildInputs(QFormLayout* form);
    void buildLimits(QFormLayout* form);
    void buildResults();
    void connectInputs();
    void recompute();
    bool readRequest(nimbo::Request& request, QString& problem) const;
    // Every search still running is told to stop; none of them is shown.
    void dropSearches();
    void searchOffThread(const nimbo::Request& request);
    void partFound(quint64 generation, std::size_t part, nimbo::SearchResult result);
    void partFailed(quint64 generation, const std::exception_ptr& failure);
    void partEnded();
    void display(const nimbo::Request& request, nimbo::SearchResult result);
    void showProblem(const QString& problem);
    void variantChanged();
    void currentChanged();
    void updateSpans();
    void choose();
    void copyRows();
    void showLimitsOf(int variant);
    // Each column as wide as its texts.
    void fitColumns();
    // Fitting first, then LwA, then ΔP, as the search gives them: no arrow.
    void defaultOrder();
    void rememberPlace() const;
    void loadLimits();
    void saveLimits() const;
    const nimbo::Found* currentFound() const;

    // form_podbor_room.cpp
    QGroupBox* buildRoom();
    void connectRoom();
    bool inRoom() const;
    void roomToggled();
    // The room of the request, or the refusal naming the box.
    std::string readRoom(nimbo::Request& r) const;
    void loadRoom();
    void saveRoom() const;
    void showNoise(const nimbo::Found* f, const nimbo::FoundDetails& d, const QString& title);

    std::shared_ptr<const nimbo::Catalogue> catalogue_;
    QWidget& beside_;
    char separator_ = '.';
    bool filling_ = false;  // startFrom sets the boxes: one search at its end

    QComboBox* type_ = nullptr;
    QLineEdit *L_ = nullptr, *V_ = nullptr, *A_ = nullptr, *B_ = nullptr, *length_ = nullptr;
    QLabel* labelV_ = nullptr;
    QRadioButton *variant1_ = nullptr, *variant2_ = nullptr;
    QCheckBox* allOptions_ = nullptr;
    QFormLayout* limitsForm_ = nullptr;
    // One box a limit, in the order of nimbo::LimitSlots().
    std::array<QLineEdit*, nimbo::kLimitCount> limits_{};
    QCheckBox* withinLc_ = nullptr;  // «l не более Lc», the limit without a box
    QCheckBox* room_ = nullptr;
    std::array<QLineEdit*, 6> roomBoxes_{};  // A, B, H, n, ear height, ᾱ
    NoiseChart* noise_ = nullptr;
    QLabel* status_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QTableView* table_ = nullptr;
    PodborModel* model_ = nullptr;
    QSortFilterProxyModel* proxy_ = nullptr;
    JetChart* chart_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QPushButton *choose_ = nullptr, *close_ = nullptr, *toProject_ = nullptr;
    int editing_ = -1;  // the project's room «В проект» replaces

    // Searches off this thread, each in parts, one a core: every part can be
    // told to stop; only the newest search's result is shown.
    struct OffThread {
        nimbo::Request request;
        std::vector<nimbo::SearchResult> parts;  // by range, as they come
        std::size_t awaited = 0, lines = 0;
        std::shared_ptr<std::vector<std::atomic<std::size_t>>> done;  // lines done, by part
    };
    OffThread newest_;
    std::vector<nimbo::StopFlag> stops_;  // of the parts still wanted
    int running_ = 0;                     // parts not yet ended, unwanted ones too
    quint64 generation_ = 0;
    QTimer* progressTimer_ = nullptr;
    // Lines of about 3 µs each (the benchmark, one candidate a line): some
    // 30 ms, within the 50 ms a keystroke may take.
    std::size_t linesOnThisThread_ = 10000;
};
