// Linked with every object of one room and only the rooms below it: the link fails if the room reaches upward.
