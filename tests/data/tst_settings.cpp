#include <QtTest>
class T : public QObject { Q_OBJECT private slots: void todo() {} };
QTEST_MAIN(T)
#include "tst_settings.moc"
