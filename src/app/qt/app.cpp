#include "app/qt/app.h"

#include <QApplication>
#include <QCheckBox>
#include <QIcon>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QScrollBar>

#include "app/layout/control_ids.h"
#include "app/qt/mark_list.h"

// The icon lives in this library; a static library's resources are linked
// in only when something names them.
static void InitResources() { Q_INIT_RESOURCE(morvane); }

namespace morvane::qt {
namespace {

// The layout fixes each control's kind, so the cast cannot miss.
template <typename Widget>
Widget& Get(const MainWindow& window, int id)
{
    return *static_cast<Widget*>(window.Control(id));
}

} // namespace

App::App(Player& player, Keyboard& keyboard)
    : window_port_(window_),
      list_(window_.List()),
      count_line_(Get<QLabel>(window_, IDC_COUNT_LINE)),
      state_line_(Get<QLabel>(window_, IDC_STATE_LINE)),
      time_line_(Get<QLabel>(window_, IDC_TIME_LINE)),
      mark_line_(Get<QLabel>(window_, IDC_MARK_LINE)),
      seek_time_(Get<QLabel>(window_, IDC_SEEK_TIME)),
      seek_bar_(window_.Bar()),
      ask_note_(Get<QCheckBox>(window_, IDC_ASK_NOTE)),
      pause_for_note_(Get<QCheckBox>(window_, IDC_PAUSE_FOR_NOTE)),
      form_(Form1Parts{window_port_, list_, count_line_, state_line_, time_line_, mark_line_, seek_time_, seek_bar_, ask_note_, pause_for_note_, poll_timer_, player,
                       keyboard, code_page_, files_, mark_file::Encoding::Utf8})
{
    // Qt's own words (the file dialog, the replace question's buttons) in
    // Chinese whatever the locale. Without the translation file they stay
    // English; the program works all the same.
    if (qt_words_.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qt_words_);
    // The window and every dialog show the program's icon.
    InitResources();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/morvane/morvane.png")));
    QObject::connect(&poll_timer_.Clock(), &QTimer::timeout, &window_, [this] { form_.Poll_Tick(); });
    QObject::connect(&window_, &MainWindow::Closed, &window_, [this] { poll_timer_.End(); });
    window_.Attach(&form_);
}

App::~App()
{
    QCoreApplication::removeTranslator(&qt_words_);
    poll_timer_.End();
    window_.Attach(nullptr);
}

bool App::Start()
{
    if (!form_.Form_Load()) return false;
    window_.show();
    poll_timer_.GoLive();
    return true;
}

void App::ShowNotice(const QString& text)
{
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("提示"), text, QMessageBox::Ok, &window_);
    PrepareMessageBox(*box);
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

} // namespace morvane::qt
