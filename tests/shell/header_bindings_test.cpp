// The binding table of controls and header cells: every bound control
// exists, a change of one writes its own cell (or bit) and nothing else, and
// an open sets every bound control from the header.

#include "shell/window/header_bindings.h"
#include "window_fixture.h"

namespace tesk::testing {
namespace {

class Bindings : public WindowTest {};

TEST_F(Bindings, EveryBoundControlExists) {
    EXPECT_TRUE(form->bindings().missing().empty()) << form->bindings().missing().front();
}

TEST_F(Bindings, AChangeWritesOnlyItsCellAndARestoreSetsItBack) {
    clickOpen(writeSurvey(dir.file("s.gem"), 50));
    for (const HeaderBinding& b : headerBindings()) {
        SCOPED_TRACE(b.control);
        const SurveyHeader before = store->header;
        auto* box = form->findChild<QComboBox*>(b.control);
        auto* check = form->findChild<QCheckBox*>(b.control);
        uint8_t expected = before.value[std::size_t(b.cell)];
        if (b.kind == BindingKind::Bit) {
            ASSERT_NE(check, nullptr);
            check->click();
            setBit(expected, b.mask, check->isChecked());
        } else {
            ASSERT_NE(box, nullptr);
            const int item = (box->currentIndex() + 1) % box->count();
            box->setCurrentIndex(item);
            expected =
                b.kind == BindingKind::Item ? uint8_t(item) : uint8_t((expected & ~b.mask) | item);
        }
        EXPECT_EQ(store->header.value[std::size_t(b.cell)], expected);
        // Handlers may rewrite other bound cells (a time range fixes the
        // depth step); no cell outside the table changes.
        for (int c = 0; c < HEADER_CELLS; ++c) {
            bool bound = false;
            for (const HeaderBinding& o : headerBindings()) bound |= o.cell == c;
            if (!bound && c != hdr::VelocityCode && c != hdr::VelocityCode + 1) {
                EXPECT_EQ(store->header.value[std::size_t(c)], before.value[std::size_t(c)])
                    << "cell " << c;
            }
        }
        // Back from the header as an open does it.
        store->header = before;
        HeaderBindings(*form).restore(store->header);
        if (check)
            EXPECT_EQ(check->isChecked(), bool(before.value[std::size_t(b.cell)] & b.mask));
        else
            EXPECT_EQ(box->currentIndex(), b.kind == BindingKind::Item
                                               ? before.value[std::size_t(b.cell)]
                                               : before.value[std::size_t(b.cell)] & b.mask);
    }
}

} // namespace
} // namespace tesk::testing
