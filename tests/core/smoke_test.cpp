#include "codegen/generate.h"
#include "codegen/plainpanes.h"
#include "model/editormodel.h"

#include <gtest/gtest.h>

using namespace bitloom;

TEST(Smoke, WorkedExample)
{
    Module1 module;
    PlainNameBox names("A");
    PlainCodePane pane;
    Grid grid = initialGrid();
    grid[7] = kPalette[1];
    grid[56] = kPalette[3];
    EXPECT_EQ(generate(grid, kPalette, module, names, pane), GenerateResult::Updated);
    names.setText("B");
    grid = initialGrid();
    for (int k = 24; k < 32; ++k)
        grid[k] = kPalette[2];
    grid[0] = kPalette[3];
    EXPECT_EQ(generate(grid, kPalette, module, names, pane), GenerateResult::Updated);
    EXPECT_EQ(pane.text(),
              "\nstatic unsigned char Alight[]={0x80,0x00,0x00,0x00,0x00,0x00,0x00,0x01};"
              "\nstatic unsigned char Adark[]={0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x01};"
              "\nstatic unsigned char Blight[]={0x01,0x00,0x00,0x00,0x00,0x00,0x00,0x00};"
              "\nstatic unsigned char Bdark[]={0x01,0x00,0x00,0xFF,0x00,0x00,0x00,0x00};");
    EXPECT_EQ(pane.writes(), 8);
}
