#pragma once
// The input rules of a single-line edit box: a maximum length counted in
// local-code-page bytes (a Chinese character takes two) and, optionally,
// integer input (only digits and "-"). Qt runs the validator on every user
// change: typing, pasting, input-method commits, undo.

#include <QString>
#include <QValidator>

class QLineEdit;

namespace galmora {

class FieldValidator : public QValidator {
    Q_OBJECT
  public:
    // max_bytes 0 means no limit.
    FieldValidator(QLineEdit* edit, int max_bytes, bool integer_only);

    State validate(QString& input, int& cursor) const override;

  private:
    // Cuts a too long insertion to what fits; false when that changes nothing.
    bool cut_insertion(QString& input, int& cursor) const;

    int max_bytes_;
    bool integer_only_;
    // The accepted text before the change under validation.
    QString previous_;
};

// Sets the text as the program does: the limits bind only the user.
void set_text_unchecked(QLineEdit* edit, const QString& text);

}  // namespace galmora
