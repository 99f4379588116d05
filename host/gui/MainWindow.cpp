#include "MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QDockWidget>
#include <QEventLoop>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "DialogView.h"
#include "DrawingActions.h"
#include "PlanView.h"
#include "platform/gis/DataConfiguration.h"
#include "platform/gis/GisDrawingData.h"
#include "platform/host/Editor.h"
#include "platform/network/TopologyStorage.h"

namespace SewerGui {

namespace {

const char* kTitle = "TAVX Sewage Calculations";
constexpr int kPollMs = 100;

}  // namespace

MainWindow::MainWindow(ModuleHost& module, QWidget* parent) : QMainWindow(parent), m_module(module) {
    m_plan = new PlanView(this);
    setCentralWidget(m_plan);

    // The command line and its output, below the plan.
    auto* dock = new QDockWidget(tr("Command line"), this);
    dock->setObjectName("commandLine");
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    auto* pane = new QWidget(dock);
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(4, 4, 4, 4);
    m_output = new QPlainTextEdit(pane);
    m_output->setReadOnly(true);
    m_output->setMaximumBlockCount(20000);
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_output->setFont(mono);
    m_prompt = new QLabel(tr("Command:"), pane);
    m_commandLine = new QLineEdit(pane);
    m_commandLine->setFont(mono);
    auto* line = new QHBoxLayout;
    line->addWidget(m_prompt);
    line->addWidget(m_commandLine, 1);
    layout->addWidget(m_output, 1);
    layout->addLayout(line);
    dock->setWidget(pane);
    addDockWidget(Qt::BottomDockWidgetArea, dock);
    resizeDocks({dock}, {170}, Qt::Vertical);
    connect(m_commandLine, &QLineEdit::returnPressed, this, [this] { CommandLineEntered(); });
    // Escape on the command line or in the plan cancels the pick or the prompt that waits.
    m_commandLine->installEventFilter(this);
    m_plan->installEventFilter(this);

    m_progressText = new QLabel(this);
    m_progress = new QProgressBar(this);
    m_progress->setMaximumWidth(260);
    m_progressText->hide();
    m_progress->hide();
    statusBar()->addPermanentWidget(m_progressText);
    statusBar()->addPermanentWidget(m_progress);

    m_colourList = new QComboBox(this);
    m_colourList->setMinimumContentsLength(22);
    BuildMenus();

    // The editor's requests (redraws, zooms, highlights) are looked at when the event loop runs: many
    // requests during one calculation give one repaint.
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [this] { m_plan->Poll(); });
    poll->start(kPollMs);

    m_plan->OnPicked = [this](const std::string& name) {
        if (!m_pickLoop) return;
        m_commandLine->setPlaceholderText(QString::fromStdString(name));
        Print(name + "\n");
        if (m_plan->property("single").toBool()) FinishPick();
    };
    resize(1200, 820);
    NewDrawing();
}

MainWindow::~MainWindow() = default;

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
        (m_pickLoop || m_promptLoop)) {
        if (m_pickLoop) FinishPick(true);
        if (m_promptLoop) {
            m_answer.reset();
            m_promptLoop->quit();
        }
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::BuildMenus() {
    auto* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&New"), QKeySequence::New, this, [this] {
        if (AskToSave()) NewDrawing();
    });
    file->addAction(tr("&Open..."), QKeySequence::Open, this, [this] {
        if (!AskToSave()) return;
        const QString path = QFileDialog::getOpenFileName(this, tr("Open drawing"), {},
                                                          tr("Drawings (*.gpkg);;All files (*)"));
        if (!path.isEmpty()) OpenDrawing(path.toStdString());
    });
    file->addAction(tr("&Save"), QKeySequence::Save, this, [this] { SaveDrawing(); });
    file->addAction(tr("Save &as..."), QKeySequence::SaveAs, this, [this] {
        const QString path =
            QFileDialog::getSaveFileName(this, tr("Save drawing"), {}, tr("Drawings (*.gpkg)"));
        if (!path.isEmpty()) SaveDrawing(path.toStdString());
    });
    file->addSeparator();
    file->addAction(tr("&Import..."), this, [this] {
        const QString path =
            QFileDialog::getOpenFileName(this, tr("Import a network or a pipe catalogue"), {},
                                         tr("Networks and catalogues (*.inp *.geojson *.json *.csv);;EPA "
                                            "SWMM 5 (*.inp);;GeoJSON (*.geojson "
                                            "*.json);;Pipe catalogue (*.csv)"));
        if (!path.isEmpty()) ImportFile(path.toStdString());
    });
    file->addAction(tr("&Export GeoJSON..."), this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, tr("Export"), {}, tr("GeoJSON (*.geojson)"));
        if (!path.isEmpty()) ExportFile(path.toStdString());
    });
    file->addSeparator();
    file->addAction(tr("&Quit"), QKeySequence::Quit, this, [this] { close(); });

    auto* commands = menuBar()->addMenu(tr("&Calculations"));
    for (const auto& c : m_module.Commands()) {
        const QString title = QString::fromStdString(c.title.empty() || c.registered ? c.name : c.title);
        auto* action = commands->addAction(title, this, [this, name = c.name] { RunCommand(name); });
        action->setToolTip(QString::fromStdString(c.name));
        action->setObjectName(QString::fromStdString(c.name));
    }

    auto* view = menuBar()->addMenu(tr("&View"));
    view->addAction(tr("Zoom &extents"), this, [this] { m_plan->ZoomExtents(); });

    auto* bar = addToolBar(tr("Results"));
    bar->setObjectName("results");
    bar->addWidget(new QLabel(tr(" Colour sections by: "), bar));
    bar->addWidget(m_colourList);
    connect(m_colourList, &QComboBox::activated, this, [this](int index) {
        m_plan->ColourBy(index <= 0 ? std::string() : m_colourList->itemText(index).toStdString());
    });
    FillColourList();
}

void MainWindow::FillColourList() {
    const QString current = m_colourList->currentText();
    m_colourList->clear();
    m_colourList->addItem(tr("(own colours)"));
    std::vector<std::string> names;
    for (const auto* def :
         TAVGis::Data::CDataConfiguration::GetInstance().Definitions(TAVGis::Data::kEntitySection))
        if (def->GetValueType() != TAVGis::Data::ValueType::Text) names.push_back(def->GetID());
    std::sort(names.begin(), names.end());
    for (const auto& n : names) m_colourList->addItem(QString::fromStdString(n));
    const int index = m_colourList->findText(current);
    m_colourList->setCurrentIndex(index < 0 ? 0 : index);
}

void MainWindow::ColourBy(const std::string& attribute) {
    FillColourList();
    const int index = attribute.empty() ? 0 : m_colourList->findText(QString::fromStdString(attribute));
    m_colourList->setCurrentIndex(std::max(index, 0));
    m_plan->ColourBy(index > 0 ? attribute : std::string());
}

bool MainWindow::Modified() const {
    auto* doc = acDocManagerPtr()->curDocument();
    if (!doc) return false;
    auto& gis = TAVGis::GisData(*doc);
    return doc->Db().ChangeCount() != m_savedChanges || gis.sectionStore.HasChanges() ||
           gis.nodeStore.HasChanges() || gis.catchmentStore.HasChanges();
}

bool MainWindow::AskToSave() {
    if (!Modified()) return true;
    const auto answer = QMessageBox::question(this, kTitle, tr("Save the changes to the drawing?"),
                                              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel) return false;
    if (answer == QMessageBox::Save) return SaveDrawing();
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_running || m_pickLoop || m_promptLoop || !AskToSave())
        event->ignore();
    else
        event->accept();
}

void MainWindow::DocumentChanged() {
    auto* doc = acDocManagerPtr()->curDocument();
    m_savedChanges = doc ? doc->Db().ChangeCount() : 0;
    FillColourList();
    m_plan->SetDocument(doc);
    if (m_colourList->currentIndex() > 0) m_plan->ColourBy(m_colourList->currentText().toStdString());
    UpdateTitle();
}

void MainWindow::UpdateTitle() {
    auto* doc = acDocManagerPtr()->curDocument();
    const QString name = doc ? QString::fromStdString(doc->Name()) : tr("no drawing");
    setWindowTitle(QString("%1%2 - %3").arg(name, Modified() ? "*" : "", kTitle));
}

bool MainWindow::NewDrawing() {
    Drawing::New();
    DocumentChanged();
    return true;
}

bool MainWindow::OpenDrawing(const std::string& path) {
    try {
        Drawing::Open(path);
    } catch (const std::exception& e) {
        Alert(e.what());
        return false;
    }
    DocumentChanged();
    Print("opened " + path + "\n");
    return true;
}

bool MainWindow::SaveDrawing(const std::string& path) {
    auto* doc = acDocManagerPtr()->curDocument();
    if (!doc) return false;
    std::string target = path.empty() ? doc->Path() : path;
    if (target.empty()) {
        const QString chosen = QFileDialog::getSaveFileName(
            this, tr("Save drawing"), QString::fromStdString(doc->Name()), tr("Drawings (*.gpkg)"));
        if (chosen.isEmpty()) return false;
        target = chosen.toStdString();
    }
    try {
        Drawing::Save(*doc, target);
    } catch (const std::exception& e) {
        Alert(e.what());
        return false;
    }
    m_savedChanges = doc->Db().ChangeCount();
    Print("saved " + target + "\n");
    UpdateTitle();
    return true;
}

bool MainWindow::ImportFile(const std::string& path) {
    auto* doc = acDocManagerPtr()->curDocument();
    if (!doc) return false;
    try {
        Print(Drawing::Import(*doc, path));
    } catch (const std::exception& e) {
        Alert(e.what());
        return false;
    }
    FillColourList();
    m_plan->RefreshValues();
    m_plan->ZoomExtents();
    UpdateTitle();
    return true;
}

bool MainWindow::ExportFile(const std::string& path) {
    auto* doc = acDocManagerPtr()->curDocument();
    if (!doc) return false;
    try {
        Print(Drawing::Export(*doc, path));
    } catch (const std::exception& e) {
        Alert(e.what());
        return false;
    }
    return true;
}

bool MainWindow::RunCommand(const std::string& name) {
    if (m_running || m_pickLoop) return false;
    bool known = false;
    for (const auto& c : m_module.Commands()) known = known || c.name == name;
    if (!known) return false;
    m_running = true;
    Print("Command: " + name + "\n");
    try {
        m_module.Invoke(name);
    } catch (const std::exception& e) {
        // The command frame has taken back what the command changed.
        Alert(std::string("The command failed: ") + e.what());
    }
    m_running = false;
    FillColourList();
    m_plan->RefreshValues();
    m_plan->Poll();
    UpdateTitle();
    return true;
}

void MainWindow::CommandLineEntered() {
    const std::string text = m_commandLine->text().trimmed().toStdString();
    m_commandLine->clear();
    if (m_promptLoop) {
        Print(text + "\n");
        m_answer = text;
        m_promptLoop->quit();
        return;
    }
    if (m_pickLoop) {
        // Names typed while a pick waits join the pick; an empty line ends it.
        if (text.empty()) return FinishPick();
        std::string word;
        for (std::size_t i = 0; i <= text.size(); ++i) {
            if (i < text.size() && text[i] != ' ' && text[i] != ',') {
                word += text[i];
                continue;
            }
            if (!word.empty()) {
                auto* doc = acDocManagerPtr()->curDocument();
                if (doc && TAVGis::Topology::TopologyOf(*doc).FindEntityByName(word))
                    m_plan->picked.push_back(word);
                else
                    Print("no entity '" + word + "'\n");
            }
            word.clear();
        }
        m_plan->update();
        if (m_plan->property("single").toBool() && !m_plan->picked.empty()) FinishPick();
        return;
    }
    if (text.empty()) return;
    if (text == "zoom" || text == "ZOOM") {
        m_plan->ZoomExtents();
        return;
    }
    for (const auto& c : m_module.Commands()) {
        if (QString::fromStdString(c.name).compare(QString::fromStdString(text), Qt::CaseInsensitive) == 0) {
            RunCommand(c.name);
            return;
        }
    }
    Print("Unknown command \"" + text + "\". The commands are in the Calculations menu.\n");
}

QWidget* MainWindow::DialogParent() const {
    const auto& running = DialogWindow::Running();
    return running.empty() ? const_cast<MainWindow*>(this) : static_cast<QWidget*>(running.back());
}

void MainWindow::Alert(const std::string& text) {
    Print("alert: " + text + "\n");
    if (alertSink) return alertSink(text);
    QMessageBox::information(DialogParent(), kTitle, QString::fromStdString(text));
}

void MainWindow::Print(const std::string& text) {
    m_output->moveCursor(QTextCursor::End);
    m_output->insertPlainText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    m_output->ensureCursorVisible();
}

int MainWindow::RunModal(TAVUi::CAdUiBaseDialog& dialog) {
    DialogWindow window(dialog, DialogParent());
    if (dialogShown) QTimer::singleShot(0, &window, [this, &window] { dialogShown(window); });
    return window.Run();
}

std::vector<DialogWindow*> MainWindow::HideDialogs() {
    std::vector<DialogWindow*> hidden;
    for (auto* w : DialogWindow::Running())
        if (w->isVisible()) {
            hidden.push_back(w);
            w->hide();
        }
    return hidden;
}

std::optional<std::string> MainWindow::GetString(const std::string& prompt) {
    if (m_pickLoop || m_promptLoop) return std::nullopt;
    // The dialogs hide, so that the person can look at the drawing while answering.
    const auto hidden = HideDialogs();
    Print(prompt + "\n");
    m_prompt->setText(QString::fromStdString(prompt));
    raise();
    activateWindow();
    m_commandLine->setFocus();
    QEventLoop loop;
    m_promptLoop = &loop;
    m_answer.reset();
    if (promptShown) QTimer::singleShot(0, this, [this, prompt] { promptShown(prompt); });
    loop.exec();
    m_promptLoop = nullptr;
    m_prompt->setText(tr("Command:"));
    for (auto* w : hidden) w->show();
    return m_answer;
}

std::vector<std::string> MainWindow::Pick(const TAVHost::PickRequest& request) {
    if (m_pickLoop || m_promptLoop) return {};
    // The dialogs hide while the person picks in the plan.
    const auto hidden = HideDialogs();
    const bool single = request.kind == TAVHost::PickRequest::Kind::Direction;
    m_plan->setProperty("single", single);
    m_plan->BeginPick(request.candidates);
    m_prompt->setText(QString::fromStdString(request.prompt) + ":");
    Print(request.prompt + (single ? " (click a section; Escape: none)\n"
                                   : " (click sections or type names; Enter ends, Escape cancels)\n"));
    raise();
    activateWindow();
    m_commandLine->setFocus();
    QEventLoop loop;
    m_pickLoop = &loop;
    m_pickCancelled = false;
    if (pickStarted) QTimer::singleShot(0, this, [this, request] { pickStarted(request); });
    loop.exec();
    m_pickLoop = nullptr;
    std::vector<std::string> picked = m_pickCancelled ? std::vector<std::string>{} : m_plan->picked;
    m_plan->EndPick();
    m_prompt->setText(tr("Command:"));
    for (auto* w : hidden) w->show();
    return picked;
}

void MainWindow::FinishPick(bool cancel) {
    if (!m_pickLoop) return;
    m_pickCancelled = cancel;
    m_pickLoop->quit();
}

std::optional<std::string> MainWindow::GetFile(const TAVHost::FileRequest& request) {
    if (fileSink) return fileSink(request);
    const QString filter =
        request.extension.empty()
            ? tr("All files (*)")
            : QString("*.%1;;%2").arg(QString::fromStdString(request.extension), tr("All files (*)"));
    const QString title = QString::fromStdString(request.title);
    const QString name = QString::fromStdString(request.defaultName);
    // Flag 1 asks for a file to write.
    const QString path = (request.flags & 1)
                             ? QFileDialog::getSaveFileName(DialogParent(), title, name, filter)
                             : QFileDialog::getOpenFileName(DialogParent(), title, name, filter);
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}

std::optional<int> MainWindow::ChooseColor(int initialIndex, bool) {
    const auto rgb = acedGetRGB(initialIndex);
    const QColor chosen = QColorDialog::getColor(QColor(rgb.r, rgb.g, rgb.b), DialogParent());
    if (!chosen.isValid()) return std::nullopt;
    // The nearest colour of the 256-colour palette.
    int best = 1;
    long bestDistance = -1;
    for (int i = 1; i < 256; ++i) {
        const auto c = acedGetRGB(i);
        const long d = (c.r - chosen.red()) * (c.r - chosen.red()) +
                       (c.g - chosen.green()) * (c.g - chosen.green()) +
                       (c.b - chosen.blue()) * (c.b - chosen.blue());
        if (bestDistance < 0 || d < bestDistance) bestDistance = d, best = i;
    }
    return best;
}

void MainWindow::SetClipboardText(const std::string& utf8) {
    QGuiApplication::clipboard()->setText(
        QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

std::optional<std::string> MainWindow::GetClipboardText() {
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isNull()) return std::nullopt;
    return text.toStdString();
}

void MainWindow::SetWaitCursor(bool on) {
    if (on) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++m_waitCursor;
    } else if (m_waitCursor > 0) {
        QApplication::restoreOverrideCursor();
        --m_waitCursor;
    }
}

void MainWindow::ShowProgress(const std::string& what, std::size_t done, std::size_t total) {
    ++progressReports[what];
    m_progressText->setText(QString::fromStdString(what));
    m_progressText->show();
    m_progress->show();
    // The bar counts in thousandths, so totals beyond int's range fit.
    m_progress->setRange(0, 1000);
    m_progress->setValue(total == 0 ? 1000
                                    : static_cast<int>(std::min<std::size_t>(done, total) * 1000 / total));
    // Paint the bar now (at most about a hundred times per piece of work); the person's input waits.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void MainWindow::EndProgress() {
    m_progress->hide();
    m_progressText->hide();
}

}  // namespace SewerGui
