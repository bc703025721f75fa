#include "OneLineEdit.h"

#include "LineBreaks.h"

#include <QLineEdit>
#include <QTimer>
#include <QValidator>

namespace {

class OneLineValidator : public QValidator
{
public:
    OneLineValidator(std::function<void()> refused, QObject *parent)
        : QValidator(parent)
        , m_refused(std::move(refused))
    {
    }

    State validate(QString &input, int &pos) const override
    {
        // The field stops one character past the limit, so a text that
        // reaches it may have been cut: refused, never kept cut.
        if (input.size() > OneLineMaxLength) {
            announceRefusal();
            return Invalid;
        }
        const QString kept = withoutLineBreaks(input);
        if (kept.size() != input.size()) {
            pos = int(withoutLineBreaks(input.left(pos)).size());
            input = kept;
        }
        return Acceptable;
    }

private:
    // After the field has undone the change, once however often asked.
    void announceRefusal() const
    {
        if (m_announcing)
            return;
        m_announcing = true;
        QTimer::singleShot(0, const_cast<OneLineValidator *>(this), [this] {
            m_announcing = false;
            m_refused();
        });
    }

    std::function<void()> m_refused;
    mutable bool m_announcing = false;
};

} // namespace

void keepOneLine(QLineEdit *edit, std::function<void()> refused)
{
    edit->setMaxLength(OneLineMaxLength + 1);
    edit->setValidator(new OneLineValidator(std::move(refused), edit));
}
