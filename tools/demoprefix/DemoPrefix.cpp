// Filled by the demo prefix builder.
