#include "testcertificates.h"

#include <QFile>
#include <QTemporaryDir>

TestCertificates TestCertificates::create(const QString& label)
{
    return TestCertificates(ServiceCertificates::create(label + QStringLiteral(" Test"), 2));
}

const TestCertificates& TestCertificates::shared()
{
    static const TestCertificates certificates = create(QStringLiteral("Quorvel"));
    return certificates;
}

QString TestCertificates::trustSharedCa()
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quorvel-test-ca.pem"));
    QFile file(path);
    if (!dir.isValid() || !shared().isValid() || !file.open(QIODevice::WriteOnly) ||
        file.write(shared().caPem()) != shared().caPem().size())
        return QString();
    file.close();
    qputenv("QUORVEL_EXTRA_CA_FILE", QFile::encodeName(path));
    return path;
}
