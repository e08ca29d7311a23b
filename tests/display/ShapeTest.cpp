#include "DisplayTestSupport.h"
#include "TestEnv.h"

#include <vessik/core/LogManager.h>
#include <vessik/presentation/Shape.h>
#include <vessik/world/Object.h>
#include <vessik/world/WorldManager.h>

#include <SFML/Graphics.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

using vk::Shape;
using vk::Vector;

namespace {

const sf::CircleShape &figure() {
    const sf::CircleShape *p_figure = Shape::getFigure();
    EXPECT_NE(p_figure, nullptr);
    return *p_figure;
}

} // namespace

TEST(Shape, UnknownTypesAreRefusedAndNothingIsDrawnWithoutAWindow) {
    {
        vktest::TestEnv env("");
        vk::LogManager::getInstance().startUp();
        Shape shape;
        EXPECT_EQ(shape.toString(), "circle, size 24.000000, White, 255");
        shape.setType(vk::SQUARE);
        for (int bad : {3, -2}) {
            shape.setType(bad);
            EXPECT_EQ(shape.getType(), vk::SQUARE);
            EXPECT_TRUE(env.logHas("Shape::setType(): Unknown shape type " + std::to_string(bad) + ". Ignoring."));
        }
        shape.setType(vk::SHAPE_NONE);
        shape.setColor(1, 2, 3);
        shape.setAlpha(7);
        EXPECT_EQ(shape.toString(), "undefined, size 24.000000, Unknown color, 7");
        vk::LogManager::getInstance().shutDown();
    }
    // cells of 12.5 x 25 pixels: the whole 12 times 1.5
    vktest::Game game("headless:true,window_horizontal_pixels:1000,window_vertical_pixels:600,font_scale:1.5,");
    ASSERT_TRUE(game.started);
    Shape shape;
    EXPECT_FLOAT_EQ(shape.getSize(), 18.0f);
    shape.setColor(vk::RED);
    EXPECT_EQ(shape.draw(Vector(3, 3)), -1);
    EXPECT_TRUE(game.env.logHas("Shape::draw(): DisplayManager window not defined."));
    EXPECT_EQ(shape.getR(), 0) << "nothing was converted either";
}

TEST(Shape, ObjectsAndEachKindDrawAroundTheirCellInPixels) {
    vktest::Game game;
    ASSERT_TRUE(game.started);
    auto *p_plain = new vk::Object;
    p_plain->setPosition(Vector(20, 10));
    EXPECT_EQ(p_plain->getShape().getType(), vk::SHAPE_NONE);
    auto *p_dot = new vk::Object;
    p_dot->setPosition(Vector(40, 12));
    Shape dot;
    dot.setColor(vk::GREEN);
    dot.setSize(10);
    p_dot->setModified(0);
    p_dot->setShape(dot);
    EXPECT_EQ(p_dot->getModified(), vk::attr::SHAPE);
    vk::WorldManager &wm = vk::WorldManager::getInstance();
    wm.draw();
    const sf::Vector2f at = figure().getPosition();
    Shape none;
    none.setColor(vk::RED);
    none.setType(vk::SHAPE_NONE);
    EXPECT_EQ(none.draw(Vector(30, 20)), 0);
    EXPECT_EQ(none.getR(), 0) << "not even its colour was converted";
    EXPECT_EQ(figure().getPosition(), at);

    const sf::Image image = vktest::screenshot();
    // a circle of radius 10 around pixel (512, 384), drawn from its corner
    // at (507, 379): nearly its whole disc is green, nothing is red
    const int green = vktest::countPixels(image, vktest::is(sf::Color(0, 255, 0)));
    EXPECT_GT(green, 250);
    EXPECT_LT(green, 330);
    EXPECT_EQ(image.getPixel(517, 389), sf::Color(0, 255, 0));
    EXPECT_EQ(image.getPixel(400, 300), sf::Color(0, 0, 0));
    EXPECT_EQ(vktest::countPixels(image, vktest::is(sf::Color(255, 0, 0))), 0);

    // the view has scrolled: shapes are drawn where the view shows them
    wm.setView(vk::Box(Vector(20, 10), 80, 24));
    const Vector world(30, 12); // view (10, 2): pixels (128, 64)
    struct Case {
        int type;
        float size;
        std::size_t points;
        float radius, rotation, x, y;
    };
    // every kind sets its rotation: after a square nothing is drawn turned
    const Case cases[] = {
        {vk::CIRCLE, 8, 8, 8, 0, 124, 60},
        {vk::SQUARE, 8, 4, 4, 45, 132, 64 - 8 / 1.75f}, // size over the font scale 2
        {vk::TRIANGLE, 8, 3, 4, 0, 124, 60},
        {vk::SQUARE, 8, 4, 4, 45, 132, 64 - 8 / 1.75f},
        {vk::CIRCLE, 2, 3, 2, 0, 127, 63},
        {vk::CIRCLE, 3, 3, 3, 0, 126.5f, 62.5f},
        {vk::CIRCLE, 6.7f, 6, 6.7f, 0, 124.65f, 60.65f},
        {vk::CIRCLE, 10, 10, 10, 0, 123, 59},
        {vk::CIRCLE, 24, 10, 24, 0, 116, 52},
        {vk::CIRCLE, std::nanf(""), 3, std::nanf(""), 0, std::nanf(""), std::nanf("")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE("type " + std::to_string(c.type) + " size " + std::to_string(c.size));
        Shape shape;
        shape.setType(c.type);
        shape.setSize(c.size);
        ASSERT_EQ(shape.draw(world), 0);
        EXPECT_EQ(figure().getPointCount(), c.points);
        EXPECT_FLOAT_EQ(figure().getRotation(), c.rotation);
        if (!std::isnan(c.size)) {
            EXPECT_FLOAT_EQ(figure().getRadius(), c.radius);
            EXPECT_EQ(figure().getPosition(), sf::Vector2f(c.x, c.y));
        }
    }

    // named colours overwrite the bytes, custom ones keep them
    Shape shape;
    shape.setColor(vk::RED);
    shape.setAlpha(100);
    ASSERT_EQ(shape.draw(world), 0);
    EXPECT_EQ(figure().getFillColor(), sf::Color(255, 0, 0, 100));
    EXPECT_EQ(shape.getR(), 255);
    shape.setColor(12, 34, 56);
    ASSERT_EQ(shape.draw(world), 0);
    EXPECT_EQ(figure().getFillColor(), sf::Color(12, 34, 56, 100));
}
