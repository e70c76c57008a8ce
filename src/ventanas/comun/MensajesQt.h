#pragma once
// Plugs the program's message boxes into the message seam.
void InstalaCajasDeMensaje();
