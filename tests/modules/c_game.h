/* A game written in C, as a module author might keep one: its state in
   static variables, its frame in plain functions. c_game_plugin.cpp hands it
   to hosts as an IGame. */
#ifndef FLINTMOOR_TESTS_C_GAME_H
#define FLINTMOOR_TESTS_C_GAME_H

#include <allegro.h>

#ifdef __cplusplus
extern "C" {
#endif

int c_game_init(void);
void c_game_shutdown(void);
int c_game_update(int x, int y, int buttons);
void c_game_draw(BITMAP* destination);
int c_game_best(void);

#ifdef __cplusplus
}
#endif

#endif
