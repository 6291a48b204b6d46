#pragma once
// F18old "验证": replays the older smart selection for each of the latest 100 draws while it
// loads and shows whether each draw was in its set; 返回 gives the workbench its numbers back.
#include <QDialog>
#include <QPointer>

class F15old;

class F18old : public QDialog {
    Q_OBJECT
public:
    explicit F18old(F15old* selection, QWidget* parent = nullptr);

    template <class T>
    T* ctl(const QString& name) const { return findChild<T*>(name); }

public slots:
    void Form_Load();
    void Command1_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void restoreWorkbench();
    QPointer<F15old> selection_;
    bool restored_ = false;
};
