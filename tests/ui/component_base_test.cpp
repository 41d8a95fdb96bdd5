#include <SDL.h>
#include <gtest/gtest.h>

#include "config/setup_command.h"
#include "graphics/key_codes.h"
#include "tests/support/log_capture.h"
#include "tests/ui/ui_fixture.h"
#include "ui/mouse_object.h"
#include "ui/mouse_objects.h"
#include "ui/stack.h"
#include "ui/visual_component.h"

namespace {

using VX_SDL::TInputEvent;
using VX_SDL::TInputKind;

class TBox : public TVisualComponent {
 public:
  explicit TBox(const char* TheKind = "ListBox") { Kind = TheKind; }
  void Draw() override {}
};

class ComponentBase : public ui_test::UiTest {};

TEST(Stack, PopsValuesInReverseAndWarnsOnUnderflow) {
  TLogCapture Capture;
  TStack S;
  S.Push4(7);
  S.Push4(-2);
  S.Push4(0x12345678);
  EXPECT_EQ(S.Count(), 12);
  EXPECT_EQ(S.Pop4(), 0x12345678);
  EXPECT_EQ(S.Pop4(), -2);
  EXPECT_EQ(S.Pop4(), 7);
  EXPECT_FALSE(Capture.Contains("Stack underflow!"));
  EXPECT_EQ(S.Pop4(), 0);
  EXPECT_TRUE(Capture.Contains("[StackUnit, TStack.Pop4] Stack underflow!"));
  EXPECT_EQ(S.Count(), 0);
}

TEST_F(ComponentBase, ComponentsNumberedInTurnKeepTheirOwnSettings) {
  TBox A, B;
  EXPECT_EQ(B.Id, A.Id + 1);
  EXPECT_EQ(TVisualComponent::NextId(), B.Id + 1);
  A.Setup("Width=12|Font=3|Item=One|Item=Two");
  B.Setup("Width=20");
  EXPECT_TRUE(A.SetupPending);
  EXPECT_EQ(A.GetInt("Width"), 12);
  EXPECT_EQ(B.GetInt("Width"), 20);
  EXPECT_FALSE(B.HasKey("Font"));
  EXPECT_EQ(A.GetValues("Item"), (std::vector<std::string>{"One", "Two"}));
  EXPECT_TRUE(B.GetValues("Item").empty());
  // A second set-up adds and replaces key by key.
  A.Setup("Width=30|Item=Three");
  EXPECT_EQ(A.GetInt("Width"), 30);
  EXPECT_EQ(A.GetValues("Item").size(), 3u);
  A.ClearSetup();
  EXPECT_FALSE(A.HasKey("Width"));
  EXPECT_EQ(B.GetInt("Width"), 20);
}

TEST_F(ComponentBase, ValuesReadAsNumbersFlagsAndCharacters) {
  TBox E("EditBox");
  E.Setup("X=12|Y=1.5|Width=-7|Transparent=i|PasswordChar=*");
  EXPECT_EQ(E.GetInt("X"), 12);
  EXPECT_EQ(E.GetInt("Y"), 0) << "not an integer";
  EXPECT_EQ(E.GetInt("Width"), -7);
  EXPECT_EQ(E.GetInt("Height"), 0) << "absent";
  EXPECT_TRUE(E.GetBool("Transparent"));
  EXPECT_FALSE(E.GetBool("AlignX"));
  EXPECT_EQ(E.GetChar("PasswordChar"), '*');
  EXPECT_EQ(E.GetChar("CursorChar"), '\0');
  E.Setup("AlignX=on|Transparent=no");
  EXPECT_FALSE(E.GetBool("AlignX")) << "on is no flag word";
  EXPECT_FALSE(E.GetBool("Transparent"));
}

TEST_F(ComponentBase, BadSetupStringsRaiseTheStoresError) {
  TBox E("EditBox");
  EXPECT_THROW(E.Setup("Foo=1"), ESetupCommand);
  EXPECT_THROW(E.Setup("Width=wide"), ESetupCommand);
  try {
    E.Setup("Width=5|Background=ff00ff|Height=9");
    FAIL();
  } catch (const ESetupCommand& Error) {
    EXPECT_STREQ(Error.what(), "RGB value expected (6 hex digits: rrggbb)! (BACKGROUND=ff00ff)");
  }
  EXPECT_EQ(E.GetInt("Width"), 5) << "commands before the bad one stay";
  EXPECT_FALSE(E.HasKey("Height"));
}

// A mouse object that records which operation an event reached.
class TProbe : public TMouseObject {
 public:
  void Draw() override {}
  bool MouseMove(int X, int Y, int State) override {
    Calls += "move ";
    return TMouseObject::MouseMove(X, Y, State);
  }
  std::string Calls;
};

TInputEvent Event(TInputKind Kind, int X = 0, int Y = 0) {
  TInputEvent E;
  E.Kind = Kind;
  E.X = X;
  E.Y = Y;
  E.Button = 1;
  return E;
}

TEST_F(ComponentBase, MouseEventsRouteByKindAndRectangle) {
  StartMouse();
  TProbe P;
  P.Left = 10, P.Top = 20, P.Right = 19, P.Bottom = 29;
  P.OnMouseDown = "down";
  P.OnMouseUp = "up";
  P.OnClick = "click";
  P.OnMouseEnter = "enter";
  P.OnMouseLeave = "leave";
  P.OnMouseMove = "move";
  EXPECT_TRUE(P.Contains(19, 29));
  EXPECT_FALSE(P.Contains(20, 29));
  EXPECT_TRUE(P.Contains(65536 + 15, 25)) << "taken as 16-bit";

  EXPECT_FALSE(P.HandleEvent(Event(TInputKind::MouseDown, 5, 5), false));
  EXPECT_TRUE(P.HandleEvent(Event(TInputKind::MouseDown, 10, 20), false));
  EXPECT_TRUE(P.HandleEvent(Event(TInputKind::MouseUp, 15, 25), false));
  EXPECT_TRUE(P.Clicked);
  // Under the doubled mode the window's (30, 50) is the screen's (15, 25).
  EXPECT_TRUE(P.HandleEvent(Event(TInputKind::MouseMotion, 30, 50), true));
  EXPECT_TRUE(P.Inside);
  EXPECT_TRUE(P.HandleEvent(Event(TInputKind::MouseMotion, 16, 26), false));
  EXPECT_TRUE(P.HandleEvent(Event(TInputKind::MouseMotion, 0, 0), false));
  EXPECT_FALSE(P.Inside);
  EXPECT_FALSE(P.HandleEvent(Event(TInputKind::MouseMotion, 0, 1), false));
  EXPECT_EQ(P.Calls, "move move ");
  EXPECT_EQ(*EventCommands, (std::vector<std::string>{"down", "up", "click", "move", "enter", "move", "leave"}));

  P.KeyTaken = true;
  EXPECT_FALSE(P.HandleEvent(Event(TInputKind::KeyDown), false));
  EXPECT_FALSE(P.KeyTaken);
  P.Enabled = false;
  EXPECT_FALSE(P.HandleEvent(Event(TInputKind::MouseDown, 10, 20), false));
  EXPECT_EQ(EventCommands->size(), 7u);
  StopMouse();
}

TEST_F(ComponentBase, DispatcherTakesEventsBeforeTheVideoLayer) {
  TLogCapture Capture;
  StartMouse();
  // With no items every event reaches the key states.
  PushKey(VXKey::Up, true);
  VX_SDL::PollEvents();
  EXPECT_TRUE(VX_SDL::Keys[VXKey::Up]);
  EXPECT_FALSE(Capture.Contains("Event"));

  TProbe Low, High;
  Low.Name = "low";
  Low.Left = 0, Low.Top = 0, Low.Right = 639, Low.Bottom = 479;
  High.Name = "high";
  High.Left = 100, High.Top = 100, High.Right = 109, High.Bottom = 109;
  MouseObjects->Items = {&Low, &High};
  SDL_Event E{};
  E.type = SDL_MOUSEBUTTONDOWN;
  E.button.type = SDL_MOUSEBUTTONDOWN;
  E.button.x = 5;
  E.button.y = 5;
  SDL_PushEvent(&E);
  VX_SDL::PollEvents();
  EXPECT_EQ(VX_SDL::MouseButton(), 0) << "taken by an item, hidden from the video layer";
  EXPECT_TRUE(Capture.Contains("< Trace > Event handled by object number 0 (low)"));
  // Items below Base are not asked; a key goes unhandled.
  MouseObjects->Base = 1;
  SDL_PushEvent(&E);
  VX_SDL::PollEvents();
  EXPECT_EQ(VX_SDL::MouseButton(), 1);
  EXPECT_TRUE(Capture.Contains("< Trace > Event not handled by any objects."));
  StopMouse();
  // The handler stays registered with the video layer but finds no dispatcher.
  PushKey(VXKey::Down, true);
  VX_SDL::PollEvents();
  EXPECT_TRUE(VX_SDL::Keys[VXKey::Down]);
}

}  // namespace
