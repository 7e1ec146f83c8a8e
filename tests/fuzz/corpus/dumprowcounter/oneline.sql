CREATE TABLE `a` (x int);
INSERT INTO `a` VALUES (1),(2),('(');
INSERT INTO `b` VALUES (3);
