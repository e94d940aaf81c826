// Filled by the PE writer.
