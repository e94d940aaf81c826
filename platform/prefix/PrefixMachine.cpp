// The prefix machine is assembled here.
