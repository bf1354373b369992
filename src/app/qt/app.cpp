#include "app/qt/app.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>

// The icon lives in this library; a static library's resources are linked
// in only when something names them.
static void InitResources() { Q_INIT_RESOURCE(morvane); }

namespace morvane::qt {

App::App(Player& player, HotKeys& keyboard)
    : window_port_(window_),
      controls_(window_),
      form_(MakeMainFormParts(controls_, Services{window_port_, poll_timer_, player, keyboard, code_page_, files_,
                                            mark_file::Encoding::Utf8}))
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
    QObject::connect(&window_, &MainWindow::Closed, &window_, [this] { form_.Window_Gone(); });
    window_.Attach(&form_);
}

App::~App()
{
    QCoreApplication::removeTranslator(&qt_words_);
    form_.Window_Gone();
    window_.Attach(nullptr);
}

bool App::Start()
{
    if (!form_.Form_Load()) return false;
    window_.show();
    form_.Window_Shown();
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
