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
      text1_(Get<QLabel>(window_, IDC_TEXT1)),
      text2_(Get<QLabel>(window_, IDC_TEXT2)),
      text3_(Get<QLabel>(window_, IDC_TEXT3)),
      text4_(Get<QLabel>(window_, IDC_TEXT4)),
      text5_(Get<QLabel>(window_, IDC_TEXT5)),
      h1_(window_.Bar()),
      c1_(Get<QCheckBox>(window_, IDC_C1)),
      c2_(Get<QCheckBox>(window_, IDC_C2)),
      form_(Form1Parts{window_port_, list_, text1_, text2_, text3_, text4_, text5_, h1_, c1_, c2_, timer1_, player,
                       keyboard, code_page_, files_, Get_Content_M::Encoding::Utf8})
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
    QObject::connect(&timer1_.Clock(), &QTimer::timeout, &window_, [this] { form_.Timer1_Timer(); });
    QObject::connect(&window_, &MainWindow::Closed, &window_, [this] { timer1_.End(); });
    window_.Attach(&form_);
}

App::~App()
{
    QCoreApplication::removeTranslator(&qt_words_);
    timer1_.End();
    window_.Attach(nullptr);
}

bool App::Start()
{
    if (!form_.Form_Load()) return false;
    window_.show();
    timer1_.GoLive();
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
