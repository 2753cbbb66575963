#include "platform/QtColorDialogService.h"

#include "support/ModalDriver.h"
#include "support/QtPrinters.h"

#include <QColorDialog>
#include <gtest/gtest.h>

namespace {

std::optional<quint32> pickWith(std::optional<quint32> initial, const QList<quint32>& custom,
                                const std::function<void(QColorDialog*)>& act) {
    const auto driver = testsupport::onNextModal<QColorDialog>(act);
    return QtColorDialogService().pick(initial, custom);
}

} // namespace

TEST(QtColorDialogService, PresetsCustomColoursAndReturnsTheChoice) {
    const QList<quint32> custom = {0xFFFFCC, 0xFFCCCC, 0xCCFFFF, 0xCCCCFF, 0xFFCCFF, 0xCCFFCC};

    const auto chosen = pickWith(0x123456u, custom, [&](QColorDialog* dialog) {
        for (int i = 0; i < custom.size(); ++i)
            EXPECT_EQ(QColorDialog::customColor(i).rgb() & 0xFFFFFFu, custom[i]) << i;
        EXPECT_EQ(dialog->currentColor().rgb() & 0xFFFFFFu, 0x123456u);
        dialog->setCurrentColor(QColor(0xAB, 0xCD, 0xEF));
        dialog->accept();
    });
    EXPECT_EQ(chosen, std::optional<quint32>(0xABCDEFu));

    EXPECT_EQ(pickWith(std::nullopt, custom, [](QColorDialog* dialog) { dialog->reject(); }), std::nullopt);
}
