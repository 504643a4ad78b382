#include "common/SerialById.h"

#include <gtest/gtest.h>

TEST(SerialById, ShortAdapterNames) {
    const struct {
        const char* link;
        const char* name;
    } cases[] = {
        {"usb-Serial_Cable_UART_A50285BI-if00-port0", "Serial_Cable_UART_A50285BI"},
        {"usb-Cable_USB2.0-Serial-if00-port0", "Cable_USB2.0-Serial"},
        {"usb-Dev_Board_7543-if00", "Dev_Board_7543"},
        // The second interface of an adapter with several keeps its suffix.
        {"usb-Four_Port-Serial-if01-port0", "Four_Port-Serial-if01-port0"},
        {"pci-0000:00:16.3", "pci-0000:00:16.3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(adapterName(QString::fromLatin1(c.link)), c.name);
}
