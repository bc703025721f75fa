#include "ContentForm.h"

#include "UserPrompts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTextDocument>
#include <QVBoxLayout>

#include <limits>

namespace {

const QString StillToReplace = QStringLiteral("待替换");
const QString Unsafe = QStringLiteral("不安全");
const QString StillToReplaceStyle = QStringLiteral("QLabel { color: #7A4A00; background: #FFE8A3; padding: 1px 4px; }");
const QString UnsafeStyle = QStringLiteral("QLabel { color: #FFFFFF; background: #B3261E; padding: 1px 4px; }");

} // namespace

ContentForm::ContentForm(const QString &name, const QString &caption, const QString &intro, const QString &fieldPrefix,
                         const QStringList &samples, UserPrompts &prompts, QWidget *parent)
    : QDialog(parent)
    , m_fieldPrefix(fieldPrefix)
    , m_samples(samples)
    , m_prompts(prompts)
    , m_scroll(new QScrollArea(this))
    , m_form(new QFormLayout)
{
    setObjectName(name);
    setWindowTitle(caption);
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    auto *introLabel = new QLabel(intro, this);
    introLabel->setTextFormat(Qt::PlainText);
    introLabel->setWordWrap(true);
    layout->addWidget(introLabel);

    auto *fields = new QWidget;
    fields->setLayout(m_form);
    m_form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    m_form->setLabelAlignment(Qt::AlignRight | Qt::AlignTop);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setWidget(fields);
    layout->addWidget(m_scroll, 1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &ContentForm::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ContentForm::reject);
    layout->addWidget(buttons);
}

void ContentForm::addField(PieceKind kind, const QString &name, const QString &detail, const QString &value)
{
    addRow(kind, m_fieldPrefix + QString::number(m_numbered++), name, detail, value, {});
}

void ContentForm::addCheckedField(const QString &objectName, const QString &name, const QString &value,
                                  std::function<Result<>(const QString &)> check)
{
    addRow(PieceKind::Text, objectName, name, QString(), value, std::move(check));
}

void ContentForm::addRow(PieceKind kind, const QString &objectName, const QString &name, const QString &detail,
                         const QString &value, std::function<Result<>(const QString &)> check)
{
    const int i = fieldCount();
    QWidget *widget = nullptr;
    if (value.contains(u'\n')) {
        auto *box = new QPlainTextEdit;
        box->setPlainText(value);
        // Tab moves on, as in every other field; the box is for line breaks.
        box->setTabChangesFocus(true);
        box->setFixedHeight(box->fontMetrics().lineSpacing() * 4 + 12);
        widget = box;
        connect(box, &QPlainTextEdit::textChanged, this, [this, i] {
            updateMark(m_fields[std::size_t(i)]);
            emit fieldEdited();
        });
    } else {
        auto *line = new QLineEdit;
        // A pasted text may be longer than a line edit keeps by default.
        line->setMaxLength(std::numeric_limits<int>::max());
        line->setText(value);
        line->setCursorPosition(0);
        widget = line;
        connect(line, &QLineEdit::textChanged, this, [this, i] {
            updateMark(m_fields[std::size_t(i)]);
            emit fieldEdited();
        });
    }
    widget->setObjectName(objectName);
    widget->setAccessibleName(name);

    auto *label = new QLabel(name + detail);
    label->setTextFormat(Qt::PlainText);
    label->setBuddy(widget);
    auto *mark = new QLabel(StillToReplace);
    mark->setTextFormat(Qt::PlainText);
    mark->setStyleSheet(StillToReplaceStyle);
    // The fields keep one width whether or not they are marked.
    QSizePolicy keepRoom = mark->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    mark->setSizePolicy(keepRoom);

    auto *row = new QHBoxLayout;
    row->addWidget(widget, 1);
    row->addWidget(mark, 0, Qt::AlignTop);
    m_form->addRow(label, row);

    m_fields.push_back({kind, name, value, QString(), widget, mark, std::move(check)});
    m_fields.back().shown = widgetText(m_fields.back());
    updateMark(m_fields.back());
}

void ContentForm::finish()
{
    // The scroll area's own size hint stops at a few hundred pixels; the
    // dialog shows every field when the screen has room for them.
    ensurePolished();
    const int chrome = sizeHint().height() - m_scroll->sizeHint().height();
    const int wanted = chrome + m_scroll->widget()->sizeHint().height() + 2 * m_scroll->frameWidth();
    const int room = screen() ? screen()->availableGeometry().height() * 3 / 4 : 600;
    resize(qMax(sizeHint().width(), 600), qMin(wanted, room));
}

bool ContentForm::isChanged(int i) const
{
    const Field &field = m_fields.at(std::size_t(i));
    return widgetText(field) != field.shown;
}

QString ContentForm::value(int i) const
{
    const Field &field = m_fields.at(std::size_t(i));
    return isChanged(i) ? widgetText(field) : field.value;
}

QString ContentForm::widgetText(const Field &field) const
{
    if (auto *line = qobject_cast<QLineEdit *>(field.widget))
        return line->text();
    // The raw text keeps no-break spaces, which the plain text turns into
    // ordinary ones; its paragraph and line separators are line breaks.
    QString text = static_cast<QPlainTextEdit *>(field.widget)->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

void ContentForm::updateMark(Field &field)
{
    const bool address = field.kind != PieceKind::Text;
    const QString text = address ? widgetText(field) : QString();
    // An address the browser would open with another scheme than http and
    // https outweighs a sample.
    const bool unsafe = address && unsafeAddress(text);
    const bool marked = unsafe || (address && stillToReplace(field.kind, text, m_samples));
    field.mark->setVisible(marked);
    const QString why = unsafe ? QStringLiteral("不安全：不是 http:、https:、// 开头的地址或相对地址")
        : field.kind == PieceKind::Link ? QStringLiteral("待替换：链接还指向本页的 #")
                                        : QStringLiteral("待替换：还是示例地址");
    field.widget->setAccessibleDescription(marked ? why : QString());
    field.mark->setToolTip(why);
    const QString &shown = unsafe ? Unsafe : StillToReplace;
    if (field.mark->text() != shown) {
        field.mark->setText(shown);
        field.mark->setStyleSheet(unsafe ? UnsafeStyle : StillToReplaceStyle);
    }
}

void ContentForm::refuse(int i, const QString &message)
{
    // The message box stands over this dialog, not over the window behind.
    QWidget *owner = parentWidget();
    m_prompts.setOwner(this);
    m_prompts.notice(message);
    m_prompts.setOwner(owner);
    if (i >= 0)
        focusField(i);
}

void ContentForm::focusField(int i)
{
    QWidget *widget = m_fields.at(std::size_t(i)).widget;
    m_scroll->ensureWidgetVisible(widget);
    widget->setFocus(Qt::OtherFocusReason);
    if (auto *line = qobject_cast<QLineEdit *>(widget))
        line->selectAll();
}

void ContentForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Once the dialog has laid its fields out and given the focus its way.
    if (m_startField >= 0 && m_startField < fieldCount())
        QMetaObject::invokeMethod(
            this, [this] { focusField(m_startField); }, Qt::QueuedConnection);
}

void ContentForm::accept()
{
    for (int i = 0; i < fieldCount(); ++i) {
        const Field &field = m_fields[std::size_t(i)];
        if (!isChanged(i) || (field.kind == PieceKind::Text && !field.check))
            continue;
        const Result<> acceptable = field.check ? field.check(value(i)) : checkAddress(value(i));
        if (!acceptable) {
            refuse(i, field.name + QStringLiteral("：") + acceptable.error());
            return;
        }
    }
    if (const Result<> taken = takeAnswer(); !taken) {
        refuse(-1, taken.error());
        return;
    }
    QDialog::accept();
}
