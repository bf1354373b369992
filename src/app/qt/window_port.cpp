#include "app/qt/window_port.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMetaObject>
#include <QPushButton>

#include "app/qt/main_window.h"
#include "app/qt/text.h"

namespace morvane::qt {
namespace {

const QString kAppName = QStringLiteral("Morvane");

// The face is Chinese whatever the locale, as on a Chinese Windows; Qt's own
// words would come in the locale's language, when translated at all.
const QString kOk = QStringLiteral("确定");
const QString kCancel = QStringLiteral("取消");

// MainForm's messages break lines the Windows way.
QString Message(const std::u16string& text)
{
    return ToQString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// Each item becomes an action that carries its id; a submenu holds its
// choices. Only a checked item is checkable, so the others show no box.
void AddMenuItems(QMenu& menu, const std::vector<MenuItem>& items)
{
    for (const MenuItem& item : items) {
        if (!item.choices.empty()) {
            QMenu* submenu = menu.addMenu(ToQString(item.text));
            submenu->setEnabled(item.enabled);
            AddMenuItems(*submenu, item.choices);
            continue;
        }
        QAction* action = menu.addAction(ToQString(item.text));
        action->setData(item.id);
        action->setCheckable(item.checked);
        action->setChecked(item.checked);
        action->setEnabled(item.enabled);
    }
}

} // namespace

WindowAdapter::WindowAdapter(MainWindow& window)
    : window_(window), dialog_folder_(kLinuxValues.dialog_start, ToText(QDir::homePath()))
{
}

void PrepareMessageBox(QMessageBox& box)
{
    box.setTextFormat(Qt::PlainText);
    const std::pair<QMessageBox::StandardButton, QString> labels[] = {
        {QMessageBox::Ok, kOk}, {QMessageBox::Yes, QStringLiteral("是(&Y)")}, {QMessageBox::No, QStringLiteral("否(&N)")}};
    for (const auto& [which, label] : labels)
        if (QAbstractButton* button = box.button(which)) button->setText(label);
}

void WindowAdapter::SetCaption(const std::u16string& text) { window_.setWindowTitle(ToQString(text)); }

QWidget* WindowAdapter::Owner() const
{
    if (!window_.isVisible()) return nullptr;
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return &window_;
}

std::u16string WindowAdapter::Prompt(const std::u16string& message, const std::u16string& title,
                                     const std::u16string& default_text, int max_length)
{
    QInputDialog dialog(Owner());
    dialog.setWindowTitle(title.empty() ? kAppName : ToQString(title));
    dialog.setLabelText(Message(message));
    dialog.setTextValue(ToQString(default_text));
    dialog.setOkButtonText(kOk);
    dialog.setCancelButtonText(kCancel);
    if (auto* field = dialog.findChild<QLineEdit*>()) field->setMaxLength(max_length);
    if (dialog.exec() != QDialog::Accepted) return {};
    return ToText(dialog.textValue());
}

void WindowAdapter::ShowInfo(const std::u16string& text, const std::u16string& title)
{
    QMessageBox box(QMessageBox::Information, ToQString(title), Message(text), QMessageBox::Ok, Owner());
    PrepareMessageBox(box);
    box.exec();
}

bool WindowAdapter::AskYesNo(const std::u16string& text, const std::u16string& title)
{
    QMessageBox box(QMessageBox::Warning, ToQString(title), Message(text), QMessageBox::Yes | QMessageBox::No,
                    Owner());
    PrepareMessageBox(box);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

std::size_t WindowAdapter::AskChoice(const std::u16string& text, const std::u16string& title,
                                     const std::vector<std::u16string>& choices)
{
    QMessageBox box(QMessageBox::Question, ToQString(title), Message(text), QMessageBox::NoButton, Owner());
    PrepareMessageBox(box);
    std::vector<QAbstractButton*> buttons;
    for (std::size_t i = 0; i < choices.size(); ++i)
        buttons.push_back(box.addButton(ToQString(choices[i]), i + 1 == choices.size() ? QMessageBox::RejectRole
                                                                                        : QMessageBox::AcceptRole));
    if (!buttons.empty()) box.setDefaultButton(qobject_cast<QPushButton*>(buttons.front()));
    box.exec();
    const auto pressed = std::ranges::find(buttons, box.clickedButton());
    return pressed == buttons.end() ? choices.size() - 1 : static_cast<std::size_t>(pressed - buttons.begin());
}

std::optional<Window::ChosenFile> WindowAdapter::ChooseSavePath() { return ChooseMarkFile(true); }

std::optional<std::u16string> WindowAdapter::ChooseOpenPath()
{
    auto chosen = ChooseMarkFile(false);
    if (!chosen) return std::nullopt;
    return std::move(chosen->path);
}

std::optional<std::u16string> WindowAdapter::ChooseRecordingPath()
{
    QStringList patterns;
    for (const std::u16string_view pattern : kRecordingPatterns) patterns << ToQString(std::u16string(pattern));
    QFileDialog dialog(&window_, QStringLiteral("选择要分句的录音"), ToQString(dialog_folder_.Start()));
    dialog.setNameFilters({ToQString(std::u16string(kRecordingsText)) + QStringLiteral(" (") + patterns.join(u' ') +
                               QStringLiteral(")"),
                           QStringLiteral("所有文件 (*)")});
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("查找范围:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("文件名:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("文件类型:"));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("打开"));
    dialog.setLabelText(QFileDialog::Reject, kCancel);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    dialog_folder_.Chosen(ToText(QFileInfo(dialog.selectedFiles().front()).absoluteFilePath()));
    return ToText(dialog.selectedFiles().front());
}

std::optional<Window::ChosenFile> WindowAdapter::ChooseMarkFile(bool save)
{
    // Each text names its pattern in brackets, the form Qt reads a filter in.
    QStringList filters;
    const auto filter = [](std::u16string_view text) {
        return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
    };
    for (const FileFilter& type : kFileFilters) filters << filter(type.text);
    if (!save) filters << filter(kAllFilesText);
    QFileDialog dialog(&window_, save ? QStringLiteral("保存记录文件") : QStringLiteral("打开记录文件"),
                       ToQString(dialog_folder_.Start()));
    dialog.setNameFilters(filters);
    // Save asks before replacing a file (Qt's default); open takes only one
    // that exists.
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setLabelText(QFileDialog::LookIn, save ? QStringLiteral("保存在:") : QStringLiteral("查找范围:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("文件名:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("文件类型:"));
    dialog.setLabelText(QFileDialog::Accept, save ? QStringLiteral("保存") : QStringLiteral("打开"));
    dialog.setLabelText(QFileDialog::Reject, kCancel);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    dialog_folder_.Chosen(ToText(QFileInfo(chosen.front()).absoluteFilePath()));
    ChosenFile file{ToText(chosen.front())};
    const qsizetype type = filters.indexOf(dialog.selectedNameFilter());
    if (type >= 0 && static_cast<std::size_t>(type) < kFileFilters.size())
        file.type = kFileFilters[static_cast<std::size_t>(type)].type;
    return file;
}

int WindowAdapter::ShowMenu(const std::vector<MenuItem>& items)
{
    QMenu menu(Owner());
    AddMenuItems(menu, items);
    // exec runs its own event loop, so the timer ticks on under the menu.
    const QAction* chosen = menu.exec(window_.MenuPosition());
    return chosen != nullptr ? chosen->data().toInt() : 0;
}

void WindowAdapter::Post(std::function<void()> task)
{
    // Queued to the window's thread; dropped with the window.
    QMetaObject::invokeMethod(&window_, std::move(task), Qt::QueuedConnection);
}

void WindowAdapter::Quit() { window_.close(); }

} // namespace morvane::qt
