var n: Integer;
PrintLn('start');
n := 100 div n;
PrintLn('never');
// expect: start
// error: Ошибка при выполнении: Division by zero [строка: 3, столбец: 10]
